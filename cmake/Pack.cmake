# Packs a folder into a password-protected zip, the form the engine attaches.
set(BW_PACK_PASSWORD "QuilloBrant")

function(bw_add_pack target source_dir output)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${source_dir}/*)
    get_filename_component(output_dir ${output} DIRECTORY)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
        COMMAND ${CMAKE_COMMAND} -E rm -f ${output}
        COMMAND zip -q -X -r -P ${BW_PACK_PASSWORD} ${output} .
        WORKING_DIRECTORY ${source_dir}
        DEPENDS ${files}
        COMMENT "Packing ${output}")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
