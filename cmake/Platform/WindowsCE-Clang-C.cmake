# clang-cl on Windows CE (cmake/clang-cl-windowsce.cmake): the rules of clang-cl on Windows,
# which are the MSVC ones and take Windows CE's definitions, libraries and entry from them.
include(Platform/Windows-Clang-C)
