#!/bin/sh
# Installs the Debian packages the build and the tests need, only those that are missing.
# Packages named as arguments are installed too (make package adds its packaging tools).
set -e
PACKAGES="g++ make cmake ccache pkg-config qt6-base-dev libgtest-dev libgmock-dev fonts-dejavu-core fonts-wqy-microhei poppler-utils clang-14 libclang-rt-14-dev $*"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
