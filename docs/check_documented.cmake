# Fails the API reference when Doxygen warned (a broken command, an undocumented
# function, type or macro; a struct field without a comment is let pass) or when
# a name that libcorvalib.so exports has no description in the generated
# reference: every exported function, and the one exported variable, carries a
# comment of its own in the public headers.
#   cmake -DEXPORTS=cmake/corvalib.exports -DXML_DIR=<docs>/xml
#         -DWARNINGS=<docs>/warnings.log -P check_documented.cmake

cmake_minimum_required(VERSION 3.25)

file(STRINGS ${WARNINGS} warnings REGEX "(warning|error):")
list(FILTER warnings EXCLUDE REGEX "Member .* \\(variable\\) of struct .* is not documented")
if(warnings)
  list(JOIN warnings "\n" text)
  message("${text}")
  message(FATAL_ERROR "Doxygen warned about the public headers (above)")
endif()


file(STRINGS ${EXPORTS} exported REGEX "^[A-Za-z_]")
file(GLOB compounds ${XML_DIR}/group__*.xml ${XML_DIR}/*_8h.xml)
if(NOT compounds)
  message(FATAL_ERROR "no reference in ${XML_DIR}: did Doxygen run?")
endif()

set(documented)
foreach(compound IN LISTS compounds)
  file(READ ${compound} xml)
  # One list element per member: characters that CMake's lists treat
  # specially go first.
  string(REPLACE ";" " " xml "${xml}")
  string(REPLACE "[" "(" xml "${xml}")
  string(REPLACE "]" ")" xml "${xml}")
  string(REPLACE "<memberdef " ";" members "${xml}")
  list(REMOVE_AT members 0)
  foreach(member IN LISTS members)
    string(FIND "${member}" "</memberdef>" end)
    string(SUBSTRING "${member}" 0 ${end} member)
    if(NOT member MATCHES "<name>([A-Za-z_0-9]+)</name>")
      continue()
    endif()
    set(name ${CMAKE_MATCH_1})
    if(member MATCHES "<briefdescription>[ \t\r\n]*<para>"
       OR member MATCHES "<detaileddescription>[ \t\r\n]*<para>")
      list(APPEND documented ${name})
    endif()
  endforeach()
endforeach()

set(missing)
foreach(name IN LISTS exported)
  if(NOT name IN_LIST documented)
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  list(LENGTH missing count)
  list(JOIN missing "\n  " text)
  message("  ${text}")
  message(FATAL_ERROR "${count} exported names (above) have no comment in the public headers")

endif()
list(LENGTH exported count)
message(STATUS "all ${count} exported names are documented")
