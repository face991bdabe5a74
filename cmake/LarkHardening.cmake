# The hardening Debian builds its packages with (dpkg-buildflags, hardening=+all): fortified libc
# calls, a stack protector, format strings that cannot be data, relocations read-only and bound
# at start, position-independent executables.
include(CheckPIESupported)

check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Fortified calls need the optimiser (glibc warns without it), and the sanitizers check these
# calls themselves.
if(NOT LARK_SANITIZE)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
