#!/bin/sh
# Installs every Debian package that building, testing and running Corvel need.
# Idempotent: when everything is present it only checks and returns.
# wine32 runs the shipped i686 programs where the kernel can run 32-bit code;
# wine64 with the x86_64 build covers machines where it cannot.
set -eu

PKGS_NATIVE="cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev \
 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev \
 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
 wixl nsis wine wine64 xvfb x11-utils xdotool imagemagick python3 locales fonts-wqy-zenhei fonts-wqy-microhei git"
PKGS_I386="wine32:i386"

missing=""
for p in $PKGS_NATIVE $PKGS_I386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done

need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$' || need_locale=1

[ -z "$missing" ] && [ "$need_locale" = 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "install-deps: missing packages:$missing; run this script as root" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ -n "$missing" ]; then
    echo "install-deps: installing$missing" >&2
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    # A mirror caught mid-sync fails the update now and then: try again,
    # and go on with the lists it did get; the install below tells.
    for try in 1 2 3; do
        apt-get update -qq && break
        echo "install-deps: apt-get update failed (try $try of 3)" >&2
        sleep 10
    done
    if ! apt-get install -y -qq --no-install-recommends $PKGS_NATIVE $PKGS_I386 >/dev/null; then
        # Without the i386 lists (a mirror mid-sync) wine32 cannot be had;
        # the i686 tests are then skipped as on a kernel without 32-bit code.
        echo "install-deps: wine32 cannot be installed now; the i686 tests will be skipped" >&2
        apt-get install -y -qq --no-install-recommends $PKGS_NATIVE >/dev/null
    fi
fi

if [ "$need_locale" = 1 ]; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
