#!/usr/bin/env bash
# Compiles every source of the Windows build for syntax only, with MinGW and this machine's Qt
# headers, so that the Q_OS_WIN branches are checked before a Windows machine sees them. Not a
# Windows build: nothing is linked, and MSVC may still differ. Needs a configured build folder
# (bash scripts/setup.sh test makes one); installs the MinGW compiler when missing (as root).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}
compiler=x86_64-w64-mingw32-g++-posix

if [[ ! -f $build/compile_commands.json ]]; then
    echo "no $build/compile_commands.json: configure the build first" >&2
    exit 2
fi
for p in g++-mingw-w64-x86-64-posix python3; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "$p"
    fi
done

cd "$build"
python3 - "$compiler" "$here/tests/CMakeLists.txt" <<'EOF'
import concurrent.futures, json, os, re, shlex, subprocess, sys

compiler, test_list = sys.argv[1], sys.argv[2]
# The tests that are not built on Windows.
block = re.search(r"set\(SW38591_LINUX_ONLY_TESTS(.*?)\)", open(test_list).read(), re.S).group(1)
linux_only = {w for line in block.splitlines() for w in line.split("#")[0].split()}

commands = []
for entry in json.load(open("compile_commands.json")):
    source = entry["file"]
    if re.search(r"_autogen|/fuzz/|/bench/", source):
        continue
    if os.path.basename(source)[:-4] in linux_only:
        continue
    args = shlex.split(entry["command"])
    flags = [a for a in args if a.startswith(("-D", "-I"))]
    for i, a in enumerate(args):
        if a == "-isystem":
            flags += ["-isystem", args[i + 1]]
    commands.append([compiler, "-std=c++20", "-fsyntax-only", "-w", "-DUNICODE", "-D_UNICODE",
                     *flags, source])

def check(command):
    r = subprocess.run(command, capture_output=True, text=True)
    return command[-1], r.returncode, r.stderr

failed = 0
with concurrent.futures.ThreadPoolExecutor(os.cpu_count()) as pool:
    for source, code, err in pool.map(check, commands):
        if code != 0:
            failed += 1
            print(f"{source}:\n{err}", file=sys.stderr)
print(f"{len(commands)} files checked, {failed} with errors")
sys.exit(1 if failed else 0)
EOF
