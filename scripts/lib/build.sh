# Sourced by the scripts: configure and build one tree of the project.
#   build_tree NAME [cmake options…]   builds into build/NAME
build_tree() {
  local name=$1; shift
  local dir=$ROOT/build/$name
  if [[ ! -f $dir/build.ninja ]]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >"$ROOT/build/$name.configure.log" 2>&1 ||
      { cat "$ROOT/build/$name.configure.log" >&2; return 1; }
  fi
  ninja -C "$dir" >"$ROOT/build/$name.build.log" 2>&1 || { tail -n 60 "$ROOT/build/$name.build.log" >&2; return 1; }
  if grep -q 'warning:' "$ROOT/build/$name.build.log"; then
    grep -A3 'warning:' "$ROOT/build/$name.build.log" >&2
    echo "build: warnings in $name (the build must stay warning-free)" >&2
    return 1
  fi
}
build_win32() { build_tree win32 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel; }
build_win64() { build_tree win64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel; }
