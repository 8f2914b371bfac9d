# Writes a C++ source that holds a file's bytes as they are, for a function that returns
# them as a std::string_view:
#   cmake -DINPUT=file -DOUTPUT=source.cpp -DFUNCTION=msr::Name -DHEADER=path/to/header.h
#         -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR length "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Twenty bytes a line.
string(REGEX REPLACE "(('[^']*',){20})" "\\1\n" bytes "${bytes}")
string(REGEX MATCH "^(.*)::([^:]*)$" matched "${FUNCTION}")
set(space "${CMAKE_MATCH_1}")
set(name "${CMAKE_MATCH_2}")
file(WRITE "${OUTPUT}.partial" "// Made by cmake/embed_text.cmake from ${INPUT}; not to be edited.
#include \"${HEADER}\"

namespace ${space} {
namespace {
const char kBytes[] = {
${bytes}
};
} // namespace

std::string_view ${name}() {
    return std::string_view(kBytes, ${length});
}

} // namespace ${space}
")
file(RENAME "${OUTPUT}.partial" "${OUTPUT}")
