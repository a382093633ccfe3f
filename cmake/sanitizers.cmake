# The sanitized configuration (clang): AddressSanitizer with leak checking and
# UndefinedBehaviorSanitizer, which stops at the first report. UNINSTALL_FUZZ adds the libFuzzer
# harnesses of fuzz/ and coverage instrumentation for them to the whole tree.
option(UNINSTALL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(UNINSTALL_FUZZ "Build the libFuzzer harnesses (with UNINSTALL_SANITIZE)" OFF)
if(UNINSTALL_FUZZ AND NOT UNINSTALL_SANITIZE)
  message(FATAL_ERROR "UNINSTALL_FUZZ needs UNINSTALL_SANITIZE")
endif()

if(UNINSTALL_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "the sanitized build needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined)
  add_compile_options(${sanitizers} -fno-omit-frame-pointer)
  add_link_options(${sanitizers})
  if(UNINSTALL_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  # The runtime's options for every test and the processes it starts; the suppressions name
  # third-party libraries only.
  set(UNINSTALL_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    # Everything runs several times slower: the tests widen the product's shrunk waits to match.
    "UNINSTALL_TEST_SLOWDOWN=4")
endif()
