# Sourced by test.sh and run.sh: configure_build DIR CMAKE_ARGS... configures
# DIR with Ninja and clang++ (c++ where clang is missing). clang builds the
# sanitized test build in about half the time gcc takes, and the run build
# uses the same compiler, so a warning the tests' build has not shown cannot
# stop it. A folder configured with another compiler starts afresh: CMake
# would drop every other setting together with the compiler.
configure_build() {
    local dir=$1 cxx
    shift
    cxx=$(command -v clang++ || command -v c++)
    if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "CMAKE_CXX_COMPILER:[A-Z]*=$cxx" "$dir/CMakeCache.txt"; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    fi
    cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" "$@" >/dev/null
}
