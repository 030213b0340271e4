#!/usr/bin/env bash
# package.sh: the Windows download, made on Debian 12. One zip holding Project1.exe built for
# release (optimised, with its line information kept, which the crash report reads through
# DBGHELP), the reply files a, c and s under those exact names, and README.txt on putting
# them at the root of C: and starting the program.
#
# The zip lands in $MT_BUILD_ROOT/package/mini-tarvo-server-windows.zip (default build/); the
# release tree is $MT_BUILD_ROOT/release. Prints the zip's path last.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh
# shellcheck source=cmake-env.sh
source scripts/cmake-env.sh

out=${MT_BUILD_ROOT:-build}
mkdir -p "$out"
out=$(cd "$out" && pwd)
tree="$out/release"
package="$out/package"

echo "Building Project1.exe for release in $tree"
{ mt_configure_release "$tree" &&
  cmake --build "$tree" --target Project1 reply_files -j "$(nproc)"; } >"$tree.log" 2>&1 \
    || { cat "$tree.log"; echo "The release build failed (log: $tree.log)."; exit 1; }

rm -rf "$package"
mkdir -p "$package"
zip="$package/mini-tarvo-server-windows.zip"
/usr/bin/python3 - "$zip" "$tree/app/Project1.exe" "$tree/reply" tools/package/README.txt <<'PYTHON'
import os, sys, zipfile
zip_path, program, reply, readme = sys.argv[1:]
with zipfile.ZipFile(zip_path + ".new", "w", zipfile.ZIP_DEFLATED) as z:
    z.write(program, "Project1.exe")
    for name in ("a", "c", "s"):
        z.write(os.path.join(reply, name), name)
    # Windows' own tools open the text best with CR LF line ends.
    with open(readme, encoding="utf-8") as f:
        z.writestr("README.txt", f.read().replace("\n", "\r\n"))
os.replace(zip_path + ".new", zip_path)
PYTHON
echo "The Windows download: $(du -h "$zip" | cut -f1) with Project1.exe, a, c, s and README.txt"
echo "$zip"
