# Checks the built manual, and that mkmanual refuses a broken one.
#   cmake -DPDF=Corvandelle.pdf -DMKMANUAL=path/to/mkmanual -DWORK=scratch/folder -P CheckManual.cmake

# The manual: a PDF of several pages, its text set in embedded fonts, every
# picture of docs/ in it, and titled as the manual.
if(NOT EXISTS "${PDF}")
    message(FATAL_ERROR "${PDF} was not made")
endif()
file(READ "${PDF}" head LIMIT 5 HEX)
file(SIZE "${PDF}" size)
file(STRINGS "${PDF}" pages REGEX "^/Type /Page$")
list(LENGTH pages pageCount)
file(STRINGS "${PDF}" pictures REGEX "/Subtype /Image")
list(LENGTH pictures pictureCount)
file(STRINGS "${PDF}" fonts REGEX "/FontFile2")
file(READ "${PDF}" bytes HEX)
string(FIND "${bytes}" "00550073006500720020004d0061006e00750061006c" title) # "User Manual", UTF-16
if(NOT head STREQUAL "255044462d" OR size LESS 100000 OR pageCount LESS 8 OR pictureCount LESS 6
   OR NOT fonts OR title EQUAL -1)
    message(FATAL_ERROR "${PDF} is no whole manual: starts with ${head} (hex), ${size} bytes, "
                        "${pageCount} pages, ${pictureCount} pictures, fonts: '${fonts}', "
                        "title at ${title}")
endif()

# Bad text fails with a message and leaves the manual that was there before
# alone: a picture that is missing, and a text that is empty.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/broken.md" "# Title\n\nText.\n\n## Chapter\n\n![gone](missing.png)\n")
file(WRITE "${WORK}/empty.md" "\n  \n")
foreach(case "broken.md:missing.png" "empty.md:empty")
    string(REPLACE ":" ";" case "${case}")
    list(GET case 0 text)
    list(GET case 1 named)
    file(WRITE "${WORK}/out.pdf" "the previous manual")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen
                            "${MKMANUAL}" "${WORK}/${text}" "${WORK}/out.pdf"
                    RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
    string(FIND "${errors}" "${named}" at)
    file(READ "${WORK}/out.pdf" kept)
    file(GLOB files RELATIVE "${WORK}" "${WORK}/*")
    list(SORT files)
    if(status EQUAL 0 OR at EQUAL -1 OR NOT kept STREQUAL "the previous manual"
       OR NOT files STREQUAL "broken.md;empty.md;out.pdf")
        message(FATAL_ERROR "mkmanual ${text}: status ${status}, '${errors}', "
                            "out.pdf '${kept}', files ${files}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
