# cpp-httplib, for the development service and the tests' loopback servers. Debian builds it as
# a shared library whose header only declares; its pkg-config file carries the defines the
# library was built with. Upstream's single header needs no library.
# Sets HTTPLIB_TARGET when found.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(CPPHTTPLIB QUIET IMPORTED_TARGET GLOBAL cpp-httplib)
endif()
if(CPPHTTPLIB_FOUND)
  set(HTTPLIB_TARGET PkgConfig::CPPHTTPLIB)
else()
  find_path(HTTPLIB_INCLUDE_DIR httplib.h)
  if(HTTPLIB_INCLUDE_DIR)
    add_library(httplib_header INTERFACE)
    target_include_directories(httplib_header INTERFACE ${HTTPLIB_INCLUDE_DIR})
    set(HTTPLIB_TARGET httplib_header)
  endif()
endif()
