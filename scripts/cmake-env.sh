# Sourced by the scripts that configure build trees: new trees are made for Ninja when it is
# installed (setup.sh installs it), which schedules the two cores better than make and skips
# its per-target dependency scans. A tree made earlier keeps the generator it was made with.
if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null; then
    export CMAKE_GENERATOR=Ninja
fi
