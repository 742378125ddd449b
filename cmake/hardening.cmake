# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening Debian's dpkg-buildflags gives a release build (hardening=+all), for every
# target of every build type, so the programs tested are the programs packaged:
#   -fstack-protector-strong, -Wformat -Werror=format-security, PIE,
#   -Wl,-z,relro -Wl,-z,now, and -D_FORTIFY_SOURCE=2 where the optimiser runs.
# Fortify needs optimisation (glibc warns "requires compiling with optimization" at -O0), so
# the Debug build, which the sanitizer build uses, goes without it.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(
  -fstack-protector-strong
  -Wformat
  -Werror=format-security
  "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options(LINKER:-z,relro LINKER:-z,now)
