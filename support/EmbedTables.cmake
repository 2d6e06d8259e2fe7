# Writes OUTPUT: a C++ file that registers each table file of FILES (named
# TABLE.LANGUAGE.strings, joined by "|") as a built-in table.
string(REPLACE "|" ";" FILES "${FILES}")
set(content "// Generated from support/resources; do not edit.\n#include \"AlertPanel.h\"\n\nnamespace {\nstruct Registration {\n    Registration() {\n")
foreach(file ${FILES})
  get_filename_component(name ${file} NAME)
  string(REGEX MATCH "^([^.]+)\\.([^.]+)\\.strings$" matched ${name})
  set(table ${CMAKE_MATCH_1})
  set(language ${CMAKE_MATCH_2})
  file(READ ${file} text)
  string(APPEND content "        registerBuiltinTable(\"${table}\", \"${language}\", R\"VESKTABLE(${text})VESKTABLE\");\n")
endforeach()
string(APPEND content "    }\n};\n} // namespace\n\n// Referenced by the support library so that the registration is linked in.\nvoid vesk_registerBuiltinTables() { static Registration registration; }\n")
file(WRITE ${OUTPUT} "${content}")
