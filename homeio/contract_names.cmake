# Writes the table of the panel's contract names: every key event of host/key_events.h and every
# simulator variable of host/tokens.h, by the name its constant has there. The table names the
# constants themselves, so a number can never differ from the header's.
#
#   cmake -DKEY_EVENTS=... -DTOKENS=... -DOUTPUT=... -P contract_names.cmake
function(constants header type out)
  file(STRINGS ${header} lines REGEX "^inline constexpr std::${type} [a-z0-9_]+ = ")
  set(result "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^inline constexpr std::${type} ([a-z0-9_]+) = .*" "\\1" name "${line}")
    list(APPEND result ${name})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

constants(${KEY_EVENTS} uint32_t events)
constants(${TOKENS} int32_t tokens)
list(REMOVE_ITEM tokens none)

set(text "// Written by homeio/contract_names.cmake from host/key_events.h and host/tokens.h.\n")
string(APPEND text "#include \"homeio/contract_names.h\"\n#include \"host/key_events.h\"\n#include \"host/tokens.h\"\n\n")
string(APPEND text "namespace homeio {\n\nconst std::vector<ContractName>& event_names() {\n    static const std::vector<ContractName> names = {\n")
foreach(name IN LISTS events)
  string(APPEND text "        {\"${name}\", static_cast<std::int64_t>(gauge::event::${name})},\n")
endforeach()
string(APPEND text "    };\n    return names;\n}\n\nconst std::vector<ContractName>& token_names() {\n    static const std::vector<ContractName> names = {\n")
foreach(name IN LISTS tokens)
  string(APPEND text "        {\"${name}\", gauge::token::${name}},\n")
endforeach()
string(APPEND text "    };\n    return names;\n}\n\n}  // namespace homeio\n")

# Written only when changed, so that a configure does not rebuild what uses it.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${text}")
