# Script mode: writes OUT as a C++ source holding the bytes of IN.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" n)
math(EXPR size "${n} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" body "${body}")
file(WRITE "${OUT}" "// Generated from ${IN}; do not edit.\n"
  "extern \"C\" const unsigned char ${SYM}[] = {\n${body}0x00};\n"
  "extern \"C\" const unsigned long ${SYM}_size = ${size};\n")
