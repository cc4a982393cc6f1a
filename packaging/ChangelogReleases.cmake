# The AppStream <releases> element, made from CHANGELOG.md so that the
# changelog stays the one place a version's notes are written.
#
# A version is a "## VERSION (YYYY-MM-DD)" heading followed by "- " items; an
# indented line continues the item above it. "## Unreleased" and anything
# before the first version heading are left out. Backquotes are dropped and
# &, < and > escaped, since the notes become XML text.
function(quillon_changelog_releases changelog project_version out_var)
    file(READ ${changelog} text)
    # One list entry per line: a semicolon must not split a line, nor a
    # square bracket keep two together.
    string(REPLACE ";" "@SEMICOLON@" text "${text}")
    string(REPLACE "[" "@LBRACKET@" text "${text}")
    string(REPLACE "]" "@RBRACKET@" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")

    set(xml "")
    set(version "")
    set(item "")
    set(items "")
    set(found_project_version FALSE)
    # A trailing empty entry closes the last version.
    list(APPEND lines "## end")
    foreach(line IN LISTS lines)
        if(line MATCHES "^## ")
            if(NOT item STREQUAL "")
                string(APPEND items "          <li>${item}</li>\n")
            endif()
            if(NOT version STREQUAL "")
                if(items STREQUAL "")
                    message(FATAL_ERROR "${changelog}: version ${version} lists no items")
                endif()
                string(APPEND xml "    <release version=\"${version}\" date=\"${date}\">\n"
                    "      <description>\n        <ul>\n${items}        </ul>\n"
                    "      </description>\n    </release>\n")
            endif()
            set(version "")
            set(item "")
            set(items "")
            if(line MATCHES "^## ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)[ \t]*$")
                set(version ${CMAKE_MATCH_1})
                set(date ${CMAKE_MATCH_2})
                if(version STREQUAL project_version)
                    set(found_project_version TRUE)
                endif()
            elseif(NOT line MATCHES "^## (Unreleased|end)[ \t]*$")
                message(FATAL_ERROR "${changelog}: a version heading reads \"## 1.2 (YYYY-MM-DD)\", not \"${line}\"")
            endif()
            continue()
        endif()
        if(version STREQUAL "")
            continue()
        endif()
        string(REPLACE "`" "" line "${line}")
        string(REPLACE "&" "&amp;" line "${line}")
        string(REPLACE "<" "&lt;" line "${line}")
        string(REPLACE ">" "&gt;" line "${line}")
        if(line MATCHES "^- (.*)$")
            if(NOT item STREQUAL "")
                string(APPEND items "          <li>${item}</li>\n")
            endif()
            set(item "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^[ \t]+(.*)$" AND NOT item STREQUAL "")
            string(APPEND item " ${CMAKE_MATCH_1}")
        endif()
    endforeach()

    # The version being built must have its notes before it ships.
    if(NOT found_project_version)
        message(FATAL_ERROR "${changelog} has no section for version ${project_version}")
    endif()
    string(REPLACE "@SEMICOLON@" ";" xml "${xml}")
    string(REPLACE "@LBRACKET@" "[" xml "${xml}")
    string(REPLACE "@RBRACKET@" "]" xml "${xml}")
    set(${out_var} "  <releases>\n${xml}  </releases>" PARENT_SCOPE)
endfunction()
