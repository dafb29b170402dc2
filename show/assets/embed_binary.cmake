# Turns a binary file into the body of a C++ byte array: a list of hexadecimal
# literals, 24 to a line, each followed by a comma. The including source
# writes the braces and takes the size with sizeof, so nothing but CMake
# itself is needed to embed a file.
#   cmake -DINPUT=<file> -DOUTPUT=<file.inc> -P embed_binary.cmake
file(READ "${INPUT}" hex HEX)
# 24 bytes (48 hexadecimal digits) to a line, then each byte as a literal.
string(REGEX REPLACE "(................................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}.tmp" "${bytes}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
