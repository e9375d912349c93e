#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a fresh Debian machine
# (libsystemd for the service's readiness and watchdog; systemd-analyze and dpkg-shlibdeps
# for the Debian package and its tests; mingw-w64, Wine and NSIS for the Windows build, its
# tests and its installer).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends \
  cmake make g++ clang libclang-rt-dev clang-format \
  qt6-base-dev qt6-serialport-dev libqt6serialport6 qt6-qpa-plugins \
  libgl-dev libglx-dev libopengl-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  iputils-ping xvfb xauth procps \
  pkg-config libsystemd-dev systemd dpkg-dev \
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine nsis
