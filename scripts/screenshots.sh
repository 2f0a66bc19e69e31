#!/bin/sh
# Takes the screenshots kept in docs/screenshots: the main window empty and
# filled, its menus, the about box, the item editor with its messages and
# help texts, the category dialog, Tobrin's and Maelis's dialogs, Fennick,
# the copy files, save for CD and create folders dialogs with their
# messages when something fails, and the check paths window, in Wine's
# virtual desktop on Xvfb.
# Usage: screenshots.sh [--scale 100|150|200] [BUILD_TREE]   (default 100 %
# into docs/screenshots, other scales into docs/screenshots/150 and /200;
# BUILD_TREE default build/win64, built with the targets Corvel, Fennick,
# tobrin, maelis, quarro, fixture_installer and ui_driver)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scale=100
if [ "${1:-}" = --scale ]; then scale=$2; shift 2; fi
case $scale in 100|125|150|175|200) ;; *) echo "scale $scale: use 100, 125, 150, 175 or 200" >&2; exit 2 ;; esac
build="$root/${1:-build/win64}"
out=docs/screenshots
[ "$scale" = 100 ] || out=docs/screenshots/$scale
mkdir -p "$out"
# The desktop grows with the scale, so that every window keeps its room and
# the points clicked below keep their place in it.
px() { echo $(($1 * scale / 100)); }
wine_desktop="corvel,$(px 1280)x$(px 800)"
. ./scripts/wine-session.sh
wine_display_start "$(px 1280)x$(px 800)"
trap wine_session_stop EXIT
export WINEPREFIX="$build/wineprefix-screenshots-$scale"
# Wine takes the display scale from LogPixels, read when a program starts.
prefix_init() {
    wine_prefix_init "$WINEPREFIX" win64
    /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $(px 96) /f >/dev/null 2>&1
}
prefix_init
wineserver_kill() { WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null; sleep 1; prefix_init; }
click_at() { xdotool mousemove "$(px "$1")" "$(px "$2")" click 1; }

# Starts Corvel from FOLDER and waits until the virtual desktop shows it.
start_corvel() {
    (cd "$1" && /usr/lib/wine/wine64 explorer /desktop=$wine_desktop Corvel.exe >/dev/null 2>&1 &)
    for _ in $(seq 300); do
        desktop=$(xdotool search --name 'corvel' 2>/dev/null | head -n 1) && [ -n "$desktop" ] && break
        sleep 0.2
    done
    [ -n "$desktop" ] || { echo "no Wine desktop appeared" >&2; exit 1; }
    sleep 3  # let the window paint its icons
    xdotool windowfocus "$desktop" 2>/dev/null || true
}
shot() { sleep 1; import -window root "$out/$1.png"; echo "saved $out/$1.png"; }

# Runs one ui_driver action inside the desktop and waits for its answer
# (the desktop's explorer does not hand back the exit code).
answer="$build/ui-driver-answer"
drive() {
    rm -f "$answer"
    (cd "$folder" && /usr/lib/wine/wine64 explorer /desktop=$wine_desktop "$build/tests/e2e/ui_driver.exe" \
        "Z:$(echo "$answer" | tr / '\\')" "$@" >/dev/null 2>&1 &)
    for _ in $(seq 150); do [ -s "$answer" ] && break; sleep 0.1; done
    reply=$(cat "$answer" 2>/dev/null || true)
    case $reply in ok|ok\ *) ;; *) echo "ui_driver $*: $reply" >&2; exit 1 ;; esac
}
# A real mouse click on control ID of the window CAPTION: a radio button or
# a check box takes the tick from a click, not from BM_CLICK.
click_control() {
    drive centre "$1" "$2"
    set -- $reply
    xdotool mousemove "$2" "$3" click 1
}
keys() { for key in "$@"; do xdotool key "$key"; sleep 0.3; done; }

folder="$build/screenshot-demo"
./scripts/demo-folder.sh "$build" "$folder"

rm -f "$folder/Corvel.cvx"
start_corvel "$folder"
shot main-empty
keys alt+c Down Down Down Right
shot menu-category-empty
keys Escape Escape Escape
wineserver_kill

cp examples/demo/Corvel.cvx "$folder/"
start_corvel "$folder"
click_at 60 190
shot main-filled
keys alt+c Down Down Down Right
shot menu-switch-to
keys Escape Escape Escape alt+i
shot menu-item
keys Down Down Down Down Down Down Down Down Right
shot menu-move-to
keys Escape Escape Escape alt+t
shot menu-tools
keys Escape Escape alt+h a
shot about
keys Return

add=添加安装项目 edit=编辑安装项目
drive command 32779
shot item-editor-add
drive click "$add" 1
shot item-editor-message
drive box "$add" 1
drive click "$add" 2

drive select 0
drive command 32781
shot item-editor-edit
for help in 1017:installer:软件安装程序的说明 1019:folder:软件安装目录的说明 1021:regcode:软件注册码的说明 \
            1023:patch:软件补钉程序的说明 1025:settings:软件设置文件的说明; do
    id=${help%%:*} rest=${help#*:}
    drive click "$edit" "$id"
    shot "help-${rest%%:*}"
    drive box "${rest#*:}" 1
done
drive click "$edit" 2

drive command 32774
shot category-dialog
drive click 编辑分类 2

# The full edition's components: Tobrin's install dialog for the first item,
# before and while its installer runs, then Maelis for the mail client's
# .reg file (restore settings alone), in both modes.
tobrin=安装软件 maelis=恢复软件设置
drive select 0
drive command 32775
shot tobrin-form
drive click "$tobrin" 1
sleep 3; shot tobrin-running
drive click "$tobrin" 8012
drive box "$tobrin" 6
drive request 1988 1
drive select 2
drive command 32778
shot maelis-registry
drive click "$maelis" 9003
shot maelis-data
drive click "$maelis" 2

# Fennick with the demo folder mapped to a drive letter, then unmapped.
wineserver_kill
(cd "$folder" && /usr/lib/wine/wine64 explorer /desktop=$wine_desktop Fennick.exe >/dev/null 2>&1 &)
fennick=测试光盘
drive settext "$fennick" 1000 "Z:$(echo "$folder" | tr / '\\')"
drive click "$fennick" 1005
drive box "$fennick" 1
shot fennick
drive click "$fennick" 1006
drive box "$fennick" 1

# Copy files on the items of the first category, the patch missing (a
# ghosted, unchecked row).
rm -f "$folder/Patch/sheet_chs.exe"
wineserver_kill
start_corvel "$folder"
drive select 0 1 2 3
drive command 32783
shot copy_files
drive click 复制文件 2
# Save for CD with autorun on and a save folder typed.
wineserver_kill
start_corvel "$folder"
savecd=保存光盘所需要的文件
drive command 32771
drive settext "$savecd" 1004 'D:\Art\disc.ico'
click_control "$savecd" 1003  # the autorun box
drive settext "$savecd" 1006 'D:\CD'
shot save_for_cd
drive click "$savecd" 2
# Saved into a folder where an earlier save of the Quarro edition left its
# component: the message that lists it.
rm -rf "$WINEPREFIX/drive_c/CD"
mkdir -p "$WINEPREFIX/drive_c/CD/Components"
cp "$build/components/quarro/Quarro.cpn" "$WINEPREFIX/drive_c/CD/Components/"
drive command 32771
drive settext "$savecd" 1006 'C:\CD'
drive click "$savecd" 1
shot save_for_cd-leftover
drive box 保存 1
# The external tools submenu of the demo ExtTools.ini, and the create
# folders dialog on the demo categories.
wineserver_kill
start_corvel "$folder"
keys alt+t Down Down Right
shot menu-external-tools
keys Escape Escape Escape
folders=创建目录
drive command 32793
drive settext "$folders" 1038 'D:\CD'
shot create_folders
drive click "$folders" 2
# Its message for folders that could not be made: a file holds one's name.
mkdir -p "$folder/CD-folders"
: > "$folder/CD-folders/网络工具"
drive command 32793
drive settext "$folders" 1038 "Z:$(echo "$folder/CD-folders" | tr / '\\')"
drive click "$folders" 1
shot create_folders-not-made
drive box "$folders" 1
# Copy files into a folder where a folder holds a file's name, then a target
# typed with a character code page 936 cannot hold.
mkdir -p "$folder/CD-copy/slides.exe"
copy=复制文件
drive select 0 1 2 3
drive command 32783
click_control "$copy" 1029  # into a folder
drive settext "$copy" 1030 CD-copy
drive click "$copy" 1
shot copy_files-not-copied
drive box "$copy" 1
drive command 32783
click_control "$copy" 1029  # into a folder
drive settext "$copy" 1030 'CD😀'
drive click "$copy" 1
shot copy_files-unstorable
drive box "$copy" 1
drive click "$copy" 2
# Check paths on the demo catalogue with a category of faulty paths added at
# its end, so that every colour shows; the click selects that fifth row.
wineserver_kill
printf '[待检查的项目]\r\n<Name=旧版软件\002SrcPath=Soft\\Old\\setup.exe /S\002DstDir=C:\\Program Files\\Old\002Patch=.\\patch.exe\002Settings=Reg\\mail.reg data\\old.ini>\r\n<Name=网络安装\002SrcPath=/quiet setup.exe\002DstDir=Apps\\Net>\r\n<Name=记事本\002SrcPath=C:\\windows\\notepad.exe\002Patch=D:\\Patch\\notepad_chs.exe>\r\n' |
    iconv -f utf-8 -t gbk >> "$folder/Corvel.cvx"
start_corvel "$folder"
drive command 32792
# The window opens after the command's answer: wait for its category list,
# then click the fifth category.
drive centre "检查路径（当前目录：Z:$(echo "$folder/" | tr / '\\')）" 1035
click_at 120 300
shot check_paths
keys alt+v
shot check_paths_view_menu
keys Escape Escape
# A name code page 936 cannot hold, refused in the item editor; then the
# demo folder under a Korean name, which Corvel says at start it cannot use.
wineserver_kill
start_corvel "$folder"
drive command 32779
drive settext "$add" 1009 "办公😀"
drive click "$add" 1
shot text-not-storable
drive box "$add" 1
drive click "$add" 2
wineserver_kill
unusable="$build/screenshot-한글"
rm -rf "$unusable"
cp -r "$folder" "$unusable"
start_corvel "$unusable"
shot program-path-unusable
# A catalogue that cannot be read (here a folder of its name): the run's
# change goes beside it, and the close says where.
wineserver_kill
kept="$build/screenshot-kept"
rm -rf "$kept"
cp -r "$folder" "$kept"
rm -f "$kept/Corvel.cvx"
mkdir "$kept/Corvel.cvx"
folder=$kept
start_corvel "$kept"
drive command 32772
drive settext 新建分类 1008 常用软件
drive click 新建分类 1
drive command 57665
shot catalogue-kept-beside
drive box CorvelV4.0 1
