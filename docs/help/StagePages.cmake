# Copies help pages into the folder chmcmd compiles from, converted from
# UTF-8 to the code page the project file's language stands for: a compiled
# help file's viewer reads its contents file in that code page, not by the
# page's own charset declaration.
#   cmake -DPAGES=a.html;toc.hhc -DSTAGE=folder -DCODE_PAGE=GBK -P StagePages.cmake
foreach(_page IN LISTS PAGES)
    get_filename_component(_name ${_page} NAME)
    file(READ ${_page} _text)
    string(REPLACE "charset=utf-8" "charset=${CODE_PAGE}" _text "${_text}")
    file(WRITE ${STAGE}/${_name}.utf-8 "${_text}")
    execute_process(
        COMMAND iconv -f UTF-8 -t ${CODE_PAGE} ${STAGE}/${_name}.utf-8
        OUTPUT_FILE ${STAGE}/${_name}
        RESULT_VARIABLE _failed)
    file(REMOVE ${STAGE}/${_name}.utf-8)
    if(_failed)
        message(FATAL_ERROR "${_page} cannot be written in code page ${CODE_PAGE}")
    endif()
endforeach()
