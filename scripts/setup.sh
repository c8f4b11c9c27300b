#!/usr/bin/env bash
# Shared set-up of ./run and ./test: installs the Debian packages that are
# missing, then configures and builds into build/ with every core.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth ccache qt6-translations-l10n openbox x11-utils locales)
# ge_install <package...>: installs those of the Debian packages that are missing.
ge_install() {
  local missing=() p sudo=""
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}
ge_install "${packages[@]}"

# The tests run once more in a language that writes fractions with a comma
# (ctest's "_ru" variants). ge_locale: generates ru_RU.UTF-8 when it is missing.
ge_locale() {
  local sudo=""
  locale -a 2>/dev/null | grep -qix 'ru_RU\.utf-\?8' && return 0
  echo "Generating the ru_RU.UTF-8 locale"
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU\.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
}
ge_locale

# What only the fuzz build needs (scripts/fuzz): Debian's clang with its
# libFuzzer and sanitizer runtimes.
fuzz_packages=(clang libclang-rt-14-dev)

export CCACHE_BASEDIR="$top"
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-5G}

# ge_build <build-dir> [cmake options...]: configure once, then build.
ge_build() {
  local dir=$1; shift
  if [ ! -f "$top/$dir/build.ninja" ]; then
    cmake -S "$top" -B "$top/$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$top/$dir" -j "$(nproc)" ${GE_TARGET:+--target $GE_TARGET}
}
