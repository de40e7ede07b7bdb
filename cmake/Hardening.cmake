# Debian's hardening flags (dpkg-buildflags with hardening=+all, less the
# control-flow protection that Debian 12 does not enable by default), for
# every build that ships: fortified libc calls, a stack protector, position-
# independent executables, and relocations made read-only after immediate
# binding. The checked builds (sanitizers, fuzzing) leave them out: the
# address checker replaces the fortified calls, and fortifying needs the
# optimiser, which a debug build goes without.
option(PANDREL_HARDENING "Build with Debian's hardening flags" ON)

if(PANDREL_HARDENING AND NOT PANDREL_SANITIZE AND NOT PANDREL_FUZZ)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
