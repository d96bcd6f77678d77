# One place for the settings every Keynest target shares: language level,
# warnings, Qt's safety switches and the optional sanitizers.
add_library(keynest_common_cfg INTERFACE)
add_library(Keynest::common_cfg ALIAS keynest_common_cfg)

target_compile_features(keynest_common_cfg INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(keynest_common_cfg INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
if(KEYNEST_WERROR)
  target_compile_options(keynest_common_cfg INTERFACE -Werror)
endif()

target_compile_definitions(keynest_common_cfg INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS
  _GLIBCXX_ASSERTIONS)

if(KEYNEST_SANITIZE)
  target_compile_options(keynest_common_cfg INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(keynest_common_cfg INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing: every library is built with coverage feedback for libFuzzer and
# the address and undefined-behaviour checks; fuzz/ adds libFuzzer's main.
if(KEYNEST_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KEYNEST_FUZZ needs clang++ (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  target_compile_options(keynest_common_cfg INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(keynest_common_cfg INTERFACE -fsanitize=address,undefined)
endif()
