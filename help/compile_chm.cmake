# Compiles the help project into a CHM file; run with cmake -P by the zelvaran_help target.
#
#   -DCHMCMD=<chmcmd>  -DDD=<dd>  -DSTAGE=<scratch folder>  -DOUTPUT=<final .chm>
#   -DPROJECT_FILE=<name of the .hhp>  -DSOURCES=<list of absolute source paths>
#
# chmcmd resolves the project's files from, and writes the .chm into, its working directory, so
# the sources are copied into a fresh scratch folder first: a file deleted from the repository must
# not survive there from an earlier build and hide a broken link.
#
# chmcmd reports missing files and undefined anchors as warnings and still exits with 0; any
# warning or error line therefore fails the build here.
#
# chmcmd stamps each file with the time of day, in the ITSF header and in the #SYSTEM file. Those
# two stamps are the only bytes that differ between two builds of the same sources, and no reader
# uses them, so both are zeroed: the help file is then byte-identical from build to build.

cmake_minimum_required(VERSION 3.25)

foreach(var CHMCMD DD STAGE OUTPUT PROJECT_FILE SOURCES)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "compile_chm.cmake: ${var} is not set")
    endif()
endforeach()

# Little-endian unsigned integer of `count` bytes at byte `at` of a hex dump.
function(read_le hex at count out)
    set(value "")
    math(EXPR last "${at} + ${count} - 1")
    foreach(i RANGE ${at} ${last})
        math(EXPR pos "${i} * 2")
        string(SUBSTRING "${hex}" ${pos} 2 byte)
        set(value "${byte}${value}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# One ENCINT (7 bits a byte, most significant first, high bit = more follows) at byte `at`.
function(read_encint hex at out_value out_next)
    set(value 0)
    set(more 1)
    while(more)
        math(EXPR pos "${at} * 2")
        string(SUBSTRING "${hex}" ${pos} 2 byte)
        math(EXPR b "0x${byte}")
        math(EXPR value "(${value} << 7) | (${b} & 127)")
        math(EXPR more "${b} & 128")
        math(EXPR at "${at} + 1")
    endwhile()
    set(${out_value} ${value} PARENT_SCOPE)
    set(${out_next} ${at} PARENT_SCOPE)
endfunction()

function(zero_bytes file at count)
    execute_process(
        COMMAND ${DD} if=/dev/zero of=${file} bs=1 seek=${at} count=${count} conv=notrunc
                status=none
        RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "could not clear ${count} bytes at ${at} of ${file}")
    endif()
endfunction()

function(clear_time_stamps chm)
    file(READ ${chm} header LIMIT 96 HEX)
    string(SUBSTRING "${header}" 0 16 magic)
    if(NOT magic STREQUAL "4954534603000000")
        message(FATAL_ERROR "${chm} is not an ITSF version 3 file")
    endif()
    read_le("${header}" 72 8 dir_offset)
    read_le("${header}" 80 8 dir_length)
    read_le("${header}" 88 8 content_offset)

    # Directory entry of /#SYSTEM: ENCINT name length 8, the name, then section, offset, length.
    file(READ ${chm} dir OFFSET ${dir_offset} LIMIT ${dir_length} HEX)
    set(needle "082f2353595354454d")
    set(from 0)
    set(found -1)
    while(found EQUAL -1)
        string(SUBSTRING "${dir}" ${from} -1 rest)
        string(FIND "${rest}" "${needle}" hit)
        if(hit EQUAL -1)
            message(FATAL_ERROR "${chm} has no /#SYSTEM entry")
        endif()
        math(EXPR hit "${from} + ${hit}")
        math(EXPR odd "${hit} % 2")
        if(odd)
            math(EXPR from "${hit} + 1")
        else()
            set(found ${hit})
        endif()
    endwhile()
    string(LENGTH "${needle}" needle_chars)
    math(EXPR at "(${found} + ${needle_chars}) / 2")
    read_encint("${dir}" ${at} section at)
    read_encint("${dir}" ${at} offset at)
    read_encint("${dir}" ${at} length at)
    if(NOT section EQUAL 0)
        message(FATAL_ERROR "/#SYSTEM of ${chm} is compressed; its stamp cannot be cleared")
    endif()

    # #SYSTEM: DWORD version, then records of WORD code, WORD size, data. Code 10 is the stamp.
    math(EXPR system_at "${content_offset} + ${offset}")
    file(READ ${chm} system OFFSET ${system_at} LIMIT ${length} HEX)
    set(pos 4)
    set(stamp_at -1)
    while(pos LESS length AND stamp_at EQUAL -1)
        read_le("${system}" ${pos} 2 code)
        math(EXPR size_at "${pos} + 2")
        read_le("${system}" ${size_at} 2 size)
        if(code EQUAL 10 AND size EQUAL 4)
            math(EXPR stamp_at "${system_at} + ${pos} + 4")
        endif()
        math(EXPR pos "${pos} + 4 + ${size}")
    endwhile()
    if(stamp_at EQUAL -1)
        message(FATAL_ERROR "/#SYSTEM of ${chm} has no time stamp record")
    endif()

    zero_bytes(${chm} 16 4)
    zero_bytes(${chm} ${stamp_at} 4)
endfunction()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${SOURCES} DESTINATION ${STAGE})

get_filename_component(project_name ${PROJECT_FILE} NAME_WE)
set(compiled ${STAGE}/${project_name}.chm)
execute_process(
    COMMAND ${CHMCMD} ${PROJECT_FILE}
    WORKING_DIRECTORY ${STAGE}
    RESULT_VARIABLE rc
    OUTPUT_VARIABLE out
    ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)(Error|Warning):" OR NOT EXISTS ${compiled})
    message(FATAL_ERROR "chmcmd failed (exit ${rc}):\n${out}")
endif()

clear_time_stamps(${compiled})
# Always copied, so the output is never older than the sources and the build stays up to date.
file(COPY_FILE ${compiled} ${OUTPUT})
