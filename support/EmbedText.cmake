# Writes OUTPUT: a C++ file defining `const char* FUNCTION()` that returns the text of FILE.
file(READ ${FILE} text)
get_filename_component(name ${FILE} NAME)
file(WRITE ${OUTPUT} "// Generated from support/resources/${name}; do not edit.\nconst char* ${FUNCTION}() {\n    return R\"VESKTEXT(${text})VESKTEXT\";\n}\n")
