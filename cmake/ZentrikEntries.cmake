# The public header is the one list of entries: every declaration of the form
#   ZENTRIK_API <type> ZENTRIK_CALL <Name>(
# is an exported entry. These helpers read that list and write the files
# that the linkers need, so that header, Linux export list and Windows
# module definition cannot drift apart.

function(zentrik_read_entries header out_var)
    file(STRINGS "${header}" lines REGEX "^ZENTRIK_API .* ZENTRIK_CALL [A-Za-z_][A-Za-z0-9_]*\\(")
    set(names "")
    foreach(line IN LISTS lines)
        string(REGEX MATCH "ZENTRIK_CALL ([A-Za-z_][A-Za-z0-9_]*)\\(" _ "${line}")
        list(APPEND names "${CMAKE_MATCH_1}")
    endforeach()
    list(REMOVE_DUPLICATES names)
    set(${out_var} "${names}" PARENT_SCOPE)
endfunction()

# GNU ld version script: the entries are global, everything else local.
function(zentrik_write_version_script entries path)
    set(text "{\n  global:\n")
    foreach(name IN LISTS entries)
        string(APPEND text "    ${name};\n")
    endforeach()
    string(APPEND text "  local:\n    *;\n};\n")
    file(WRITE "${path}" "${text}")
endfunction()

# Module definition for the Windows DLL: undecorated names only.
function(zentrik_write_def_file entries path)
    set(text "LIBRARY zentrik.dll\nEXPORTS\n")
    foreach(name IN LISTS entries)
        string(APPEND text "    ${name}\n")
    endforeach()
    file(WRITE "${path}" "${text}")
endfunction()

# Plain list, one name per line (read by the export checks).
function(zentrik_write_entry_list entries path)
    string(REPLACE ";" "\n" text "${entries}")
    file(WRITE "${path}" "${text}\n")
endfunction()
