# Packs folders into a password-protected zip, the form the engine attaches.
# The password is the game's, in cmake/pack-password: the program (through
# BW_PACK_PASSWORD), this packer and the tests all read it there.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/pack-password BW_PACK_PASSWORD LIMIT_COUNT 1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pack-password)

find_program(BW_ZIP zip)
if(NOT BW_ZIP)
    message(FATAL_ERROR "The resource packs are made with the zip program, which is not installed "
                        "(tools/setup installs it; on Debian: apt-get install zip).")
endif()

# Each folder is laid over the ones before it (a later file of the same name
# wins); a folder given as "folder=prefix" lands under prefix/ in the pack.
# The files are gathered in a folder of the build tree, then zipped.
function(bw_add_layered_pack target output)
    set(stage ${CMAKE_BINARY_DIR}/packs/${target})
    set(commands COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage})
    set(depends "")
    foreach(layer ${ARGN})
        if(layer MATCHES "^(.*)=(.*)$")
            set(dir ${CMAKE_MATCH_1})
            set(dest ${stage}/${CMAKE_MATCH_2})
        else()
            set(dir ${layer})
            set(dest ${stage})
        endif()
        file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*)
        list(APPEND depends ${files})
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${dir} ${dest})
    endforeach()
    get_filename_component(output_dir ${output} DIRECTORY)
    add_custom_command(
        OUTPUT ${output}
        ${commands}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${output}
        COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${BW_ZIP} -q -X -r -P ${BW_PACK_PASSWORD} ${output} .
        DEPENDS ${depends}
        COMMENT "Packing ${output}")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

function(bw_add_pack target source_dir output)
    bw_add_layered_pack(${target} ${output} ${source_dir})
endfunction()
