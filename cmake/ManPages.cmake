# rbx14_add_man_page(<program target>): the program's manual page, made from
# its --help at build time and installed in section 1.

include(GNUInstallDirs)

set(RBX14_HELP2MAN ${CMAKE_CURRENT_LIST_DIR}/help2man.cmake)

function(rbx14_add_man_page target)
  set(page ${CMAKE_BINARY_DIR}/man/${target}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${target}
            -DOUTPUT=${page} -P ${RBX14_HELP2MAN}
    # -n: no time stamp, so the same sources give the same package.
    COMMAND gzip -9nf ${page}
    DEPENDS ${target} ${RBX14_HELP2MAN}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-man-page ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
