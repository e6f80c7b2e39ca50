# Gathers the release files: the setup program, the bare DLL, INSTALL.txt, and SHA256SUMS
# of the two binaries in the format of sha256sum (check with `sha256sum -c SHA256SUMS`).
# Usage: cmake -DRELEASE_DIR=<dir> -DSETUP=<exe> -DDLL=<dll> -DINSTALL_TXT=<txt> -P release.cmake
foreach(input IN ITEMS SETUP DLL INSTALL_TXT)
  if(NOT EXISTS "${${input}}")
    message(FATAL_ERROR "release.cmake: ${input} (${${input}}) does not exist")
  endif()
endforeach()

# Nothing left over from an earlier version's package.
file(REMOVE_RECURSE "${RELEASE_DIR}")
file(MAKE_DIRECTORY "${RELEASE_DIR}")
file(COPY "${SETUP}" "${DLL}" "${INSTALL_TXT}" DESTINATION "${RELEASE_DIR}")

set(sums "")
foreach(binary IN ITEMS "${SETUP}" "${DLL}")
  get_filename_component(name "${binary}" NAME)
  file(SHA256 "${RELEASE_DIR}/${name}" hash)
  # sha256sum's text mode: the hash, two spaces, the file name.
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${RELEASE_DIR}/SHA256SUMS" "${sums}")
message(STATUS "Release files in ${RELEASE_DIR}")
