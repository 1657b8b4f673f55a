#!/bin/bash
# Builds the release package: the stripped release zelvo.exe for 64-bit and for 32-bit Windows,
# checked for their exploit mitigations and imports, with README.txt (Japanese and English),
# LICENSE and SHA256SUMS, in dist/zelvo-VERSION.zip. The same exes give the same zip: its
# entries are in a fixed order with the time of the last commit. ZELVO_BUILD_ROOT moves the
# build folders (release-x64, release-x86 in it).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_root=${ZELVO_BUILD_ROOT:-$source_dir/build}
jobs=$(nproc)

"$source_dir/scripts/ensure-packages.sh"

version=$(sed -n 's/^project(Zelvo VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }

for arch in x64 x86; do
  echo "=== zelvo.exe for $arch"
  cmake --preset "$arch" -S "$source_dir" -B "$build_root/release-$arch" -DZELVO_TESTS=OFF \
    >/dev/null
  cmake --build "$build_root/release-$arch" --target zelvo -j "$jobs"
  # The shipped file is the stripped copy; the unstripped one still has the symbols that show
  # the stack protector.
  python3 "$source_dir/scripts/check-pe.py" --symbols "$build_root/release-$arch/bin/zelvo.exe"
  python3 "$source_dir/scripts/check-pe.py" "$build_root/release-$arch/bin/zelvo-stripped.exe"
done

dist="$source_dir/dist"
stage="$dist/zelvo-$version"
zip_file="$dist/zelvo-$version.zip"
rm -rf "$stage" "$zip_file"
mkdir -p "$stage/zelvo-x64" "$stage/zelvo-x86"
cp "$build_root/release-x64/bin/zelvo-stripped.exe" "$stage/zelvo-x64/zelvo.exe"
cp "$build_root/release-x86/bin/zelvo-stripped.exe" "$stage/zelvo-x86/zelvo.exe"
# Texts for Notepad on every Windows version: CR LF; the Japanese README in UTF-8 with a byte
# order mark (without one, older Notepads take it for the ANSI code page).
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' \
  "$source_dir/packaging/README.txt"; } >"$stage/README.txt"
sed -e 's/$/\r/' "$source_dir/LICENSE" >"$stage/LICENSE"
(cd "$stage" && sha256sum zelvo-x64/zelvo.exe zelvo-x86/zelvo.exe README.txt LICENSE \
  >SHA256SUMS)

# A zip made by Python: entries in the order given, every one dated with the last commit.
stamp=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)
python3 - "$stage" "$zip_file" "$stamp" <<'PYTHON'
import sys, time, zipfile
stage, target, stamp = sys.argv[1], sys.argv[2], int(sys.argv[3])
date = time.gmtime(max(stamp, 315532800))[:6]  # a zip cannot date anything before 1980
names = ["zelvo-x64/zelvo.exe", "zelvo-x86/zelvo.exe", "README.txt", "LICENSE", "SHA256SUMS"]
with zipfile.ZipFile(target, "w") as archive:
    for name in names:
        entry = zipfile.ZipInfo(name, date_time=date)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        with open(f"{stage}/{name}", "rb") as file:
            archive.writestr(entry, file.read())
PYTHON

# What the user will unpack: the files and their checksums as listed.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
python3 -m zipfile -e "$zip_file" "$check"
(cd "$check" && sha256sum --quiet -c SHA256SUMS)
echo "=== $zip_file"
python3 -m zipfile -l "$zip_file"
sha256sum "$zip_file"
