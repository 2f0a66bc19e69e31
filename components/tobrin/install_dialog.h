// The install dialog: shows what is about to run, lets the user change the
// parameters and the install folder, and stays open while the program runs.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/unique_handle.h"
#include "components/tobrin/process_waiter.h"
#include "ui/window/dialog.h"

namespace corvel::tobrin {

// Code page 936 texts, owned by Open for the life of the dialog.
struct InstallRequest {
    std::string itemName;
    std::string program;
    std::string parameters;
    std::string installFolder;
    bool installerStep = true;
};

class CInstallDialog : public ui::Dialog {
public:
    explicit CInstallDialog(const InstallRequest& request);

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    bool OnQueryEndSession() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInstall();
    void OnAbandon();
    void OnAbandonAll();
    void ShowRunning();
    void ShowDone();
    UINT QuestionDefault() const;
    void DrawBanner(const DRAWITEMSTRUCT& item);
    void OnDestroy();

    const InstallRequest& request_;
    ProcessWaiter waiter_;
    UniqueFont bannerFont_;
    // What bannerFont_ was made from: the dialog's font and DPI, which a
    // move to a monitor of another scale changes.
    HFONT bannerBase_ = nullptr;
    UINT bannerDpi_ = 0;
    // The started program has ended, processes it started still run.
    bool othersRemain_ = false;
};

}  // namespace corvel::tobrin
