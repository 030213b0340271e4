#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12. Quick and silent when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ make pkg-config g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64
          fonts-wine xvfb xdotool socat googletest libgtest-dev libgmock-dev imagemagick curl x11-utils git
          iproute2 clang libclang-rt-14-dev libcairo2-dev libcpp-httplib-dev python3 python3-selenium chromium chromium-driver nodejs)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive

# apt_retry COMMAND...: an apt command, again up to twice more when it fails: a mirror caught in
# the middle of a sync serves an index of the wrong size for a while.
apt_retry() {
    local attempt
    for attempt in 1 2; do
        "${sudo_cmd[@]}" "$@" && return 0
        echo "setup: \"$*\" failed (attempt $attempt); again in 15 s"
        sleep 15
    done
    "${sudo_cmd[@]}" "$@"
}

# apt_update: the package lists; where one of them still cannot be fetched, the others are new
# and the lists are used as they are (the installation says if a package is missing).
apt_update() {
    apt_retry apt-get update -qq || echo "setup: some package lists could not be updated; going on with them"
}

# install_missing PACKAGE...: installs those of the packages that are not installed yet.
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    apt_update
    apt_retry apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Wine runs the 32-bit Windows programs in 32-bit Linux processes. Some kernels have 32-bit
# user mode switched off (the boot log says "32-bit emulation disabled"); there the 32-bit
# processes run under qemu's user-mode emulator, registered for 32-bit x86 programs. It must
# be qemu 8 or later: older ones track guest pages one at a time, and Wine's large address
# reservations then make every Wine process take about a minute to start (qemu 10 from
# Debian's backports: about two seconds).
qemu_i386=/usr/bin/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc

i386_runs_natively() {
    [ ! -e "$binfmt/qemu-i386" ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

qemu_is_recent() {
    local major
    major=$("$qemu_i386" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
    [ -n "$major" ] && [ "$major" -ge 8 ]
}

ensure_i386_programs_run() {
    i386_runs_natively && return 0
    # The library that gives Wine the trap numbers qemu leaves out is built for 32-bit Linux.
    install_missing gcc-i686-linux-gnu libc6-dev-i386-cross
    if ! qemu_is_recent; then
        echo "setup: this kernel runs no 32-bit x86 programs; installing qemu's user-mode emulator"
        local list=/etc/apt/sources.list.d/mt-bookworm-backports.list
        if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
            echo 'deb http://deb.debian.org/debian bookworm-backports main' | "${sudo_cmd[@]}" tee "$list" >/dev/null
        fi
        apt_update
        apt_retry apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user >/dev/null
        qemu_is_recent || { echo "setup: no qemu-i386 of version 8 or later" >&2; exit 1; }
    fi
    [ -e "$binfmt/register" ] || "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"
    if ! grep -qx "interpreter $qemu_i386" "$binfmt/qemu-i386" 2>/dev/null; then
        [ -e "$binfmt/qemu-i386" ] && echo -1 | "${sudo_cmd[@]}" tee "$binfmt/qemu-i386" >/dev/null
        # ELF, 32-bit, little endian, executable or shared object, machine 3 (i386). The F flag
        # opens the emulator now, so that it also serves namespaces made later.
        printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu_i386:F" \
            | "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "setup: 32-bit x86 programs still do not run" >&2; exit 1; }
}

install_missing "${packages[@]}"
ensure_i386_programs_run
