# Run by CPack on the staged files before it packs them: each ELF file's debug
# symbols go into a file of their own beside the package (NAME.debug, under
# debug/<build-id path>), the file is stripped and keeps a debug link to it, so a
# debugger finds the symbols while the package carries none.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
set(debug_root "${CPACK_PACKAGE_DIRECTORY}/debug")
foreach(path ${staged})
  if(IS_SYMLINK "${path}")
    continue()
  endif()
  file(READ "${path}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    continue()
  endif()
  file(RELATIVE_PATH relative "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" "${path}")
  get_filename_component(name "${path}" NAME)
  set(debug_file "${debug_root}/${relative}.debug")
  get_filename_component(debug_dir "${debug_file}" DIRECTORY)
  file(MAKE_DIRECTORY "${debug_dir}")
  execute_process(COMMAND objcopy --only-keep-debug "${path}" "${debug_file}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note
                          "${path}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND objcopy "--add-gnu-debuglink=${debug_file}" "${path}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
