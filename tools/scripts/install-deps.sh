#!/bin/sh
# Installs the Debian packages the build and the tests need, only those that are missing, and the
# Chinese locale the tests run under once more (.ci/run). Packages named as arguments are installed
# too (make package adds its packaging tools).
set -e
PACKAGES="g++ make cmake ccache pkg-config qt6-base-dev qt6-translations-l10n libgtest-dev libgmock-dev fonts-dejavu-core fonts-wqy-microhei poppler-utils locales clang-14 libclang-rt-14-dev clang-format-14 $*"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
# Enabled in /etc/locale.gen, so that a later locale-gen (by any package) keeps it.
if ! locale -a | grep -qix 'zh_CN\.utf-\?8'; then
    echo "Generating the locale zh_CN.UTF-8"
    $SUDO sed -i 's/^# *zh_CN\.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN\.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen
fi
