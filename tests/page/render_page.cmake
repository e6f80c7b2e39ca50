# Writes the tour as an HTML page (quillmark --html, in LOCALE when given) and checks it as a
# reader's browser shows it: the page refers to nothing outside itself, and headless Chromium
# renders it at the size the page declares, with something drawn from its top to its last
# line and nothing below that.
#   cmake -DRUNNER= -DSCRIPT= -DNAME= [-DLOCALE=] -DCHROMIUM= -DCONVERT= -DIDENTIFY= -P render_page.cmake
foreach(tool CHROMIUM CONVERT IDENTIFY)
  if(NOT ${tool})
    message(FATAL_ERROR "${tool} was not found when the build was configured: scripts/setup.sh --with-browser "
                        "installs Chromium and ImageMagick (or configure with -DQM_BROWSER_TESTS=OFF)")
  endif()
endforeach()

set(page "${NAME}.html")
set(options --html "${page}")
if(LOCALE)
  list(PREPEND options --locale "${LOCALE}")
endif()
execute_process(COMMAND "${RUNNER}" ${options} "${SCRIPT}" RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "quillmark ${options} ${SCRIPT} failed (${code}):\n${err}")
endif()
file(READ "${page}" html)

# --- Nothing outside the page: no scripts, and every address inside a tag is data: or #.
if(html MATCHES "<script")
  message(FATAL_ERROR "${page} holds a script")
endif()
# The tags alone (the text between them may mention web addresses as words), without the
# semicolons CMake would split a list at ("data:image/png;base64,").
string(REGEX REPLACE ">[^<]*<" "><" tags "${html}")
string(REPLACE ";" "," tags "${tags}")
if(tags MATCHES "https?:")
  string(REGEX MATCH "<[^>]*https?:[^>]*>" tag "${tags}")
  message(FATAL_ERROR "${page} refers to the network: ${tag}")
endif()
string(REGEX MATCHALL "(src|href|action|poster)=\"[^\"]*" addresses "${tags}")
foreach(address IN LISTS addresses)
  if(NOT address MATCHES "=\"(data:|#)")
    message(FATAL_ERROR "${page} refers to something outside itself: ${address}")
  endif()
endforeach()
string(REGEX MATCH "<style>[^<]*</style>" style "${html}")
if(style MATCHES "url\\(|@import")
  message(FATAL_ERROR "${page}'s style sheet loads something: ${style}")
endif()

# --- The size it declares.
if(NOT html MATCHES "data-width=\"([0-9]+)\" data-height=\"([0-9]+)\"")
  message(FATAL_ERROR "${page} does not declare its size in whole pixels")
endif()
set(width ${CMAKE_MATCH_1})
set(height ${CMAKE_MATCH_2})

# --- Rendered: once at the declared size, once with room below it.
function(render png window_height)
  set(profile "${CMAKE_CURRENT_BINARY_DIR}/${NAME}-profile-${window_height}")
  file(REMOVE_RECURSE "${profile}")
  file(MAKE_DIRECTORY "${profile}")
  file(REMOVE "${png}")
  execute_process(
    COMMAND "${CHROMIUM}" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run
            --disable-background-networking --disable-component-update --disable-sync
            "--user-data-dir=${profile}" "--screenshot=${png}" "--window-size=${width},${window_height}"
            "file://${CMAKE_CURRENT_BINARY_DIR}/${page}"
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  file(REMOVE_RECURSE "${profile}")
  if(NOT code EQUAL 0 OR NOT EXISTS "${png}")
    message(FATAL_ERROR "Chromium did not render ${page} (${code}):\n${out}${err}")
  endif()
endfunction()

# The number of colours in a part of a picture ("WxH+X+Y").
function(colours png region out)
  execute_process(COMMAND "${CONVERT}" "${png}" -crop "${region}" +repage -format "%k" info:
                  RESULT_VARIABLE code OUTPUT_VARIABLE count ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "convert cannot read ${png}: ${err}")
  endif()
  string(STRIP "${count}" count)
  set(${out} ${count} PARENT_SCOPE)
endfunction()

set(png "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.png")
render("${png}" ${height})
execute_process(COMMAND "${IDENTIFY}" -format "%wx%h" "${png}" OUTPUT_VARIABLE size)
if(NOT size STREQUAL "${width}x${height}")
  message(FATAL_ERROR "${NAME}.png is ${size}, the page declares ${width}x${height}")
endif()
colours("${png}" "${width}x${height}+0+0" all)
if(all LESS 64)
  message(FATAL_ERROR "${NAME}.png is nearly blank: ${all} colours")
endif()
colours("${png}" "${width}x200+0+0" top)
if(top LESS 2)
  message(FATAL_ERROR "the top of ${NAME}.png is blank")
endif()

set(taller "${CMAKE_CURRENT_BINARY_DIR}/${NAME}-taller.png")
math(EXPR taller_height "${height} + 100")
render("${taller}" ${taller_height})
math(EXPR last "${height} - 60")
colours("${taller}" "${width}x60+0+${last}" end)
if(end LESS 2)
  message(FATAL_ERROR "the last 60 pixels of ${page} are blank: it declares more height than it fills")
endif()
colours("${taller}" "${width}x100+0+${height}" below)
if(NOT below EQUAL 1)
  message(FATAL_ERROR "${page} draws below the height it declares (${below} colours there)")
endif()
file(REMOVE "${taller}")
