# Sourced by the scripts that configure build trees: new trees are made for Ninja when it is
# installed (setup.sh installs it), which schedules the two cores better than make and skips
# its per-target dependency scans. A tree made earlier keeps the generator it was made with.
if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null; then
    export CMAKE_GENERATOR=Ninja
fi

# mt_configure_release DIR: configures DIR as the Windows tree of the program as it is shipped:
# optimised, with its line tables kept for the crash report (-g1: the lines and the functions,
# without the types and variables a debugger needs), no test programs.
mt_configure_release() {
    cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
        -DMT_BUILD_TESTS=OFF
}
