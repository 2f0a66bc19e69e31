// Numbered private messages from the frame to the catalogue view.
#pragma once

namespace corvel::ui {

enum ViewRequest : unsigned {
    kRequestSaveForCd = 1984,
    kRequestNewCategory = 1985,
    kRequestDeleteCategory = 1986,
    kRequestEditCategory = 1987,
    kRequestSwitchToCategory = 1988,
    kRequestInstall = 1989,
    kRequestCopyRegcode = 1990,
    kRequestInstallPatch = 1991,
    kRequestRestoreSettings = 1992,
    kRequestAddItem = 1993,
    kRequestDeleteItems = 1994,
    kRequestEditItem = 1995,
    kRequestRenameItem = 1996,
    kRequestMoveItems = 1997,
    kRequestCopyFiles = 1998,
    kRequestSelectAll = 1999,
    kRequestInvertSelection = 2000,
    kRequestViewFile = 2001,
    kRequestProperties = 2002,
    kRequestCheckPaths = 2003,
    kRequestCreateFolders = 2004,
    kRequestEndTask = 2005,
    kRequestTabStrip = 2006,
    kRequestAddNode = 2007,
};

}  // namespace corvel::ui
