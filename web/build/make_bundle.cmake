# Assembles the web bundle in BUNDLE_DIR: the element (web/element/zodiac-chart.js with the
# modules it imports and the loader MODULE, bundled and minified by ESBUILD), the module's
# .wasm, the artwork of assets/ (minified with NODE by the scripts beside this one), the
# package files (package.json with VERSION, the types and the custom elements manifest) and
# the demo page.
get_filename_component(module_dir "${MODULE}" DIRECTORY)
get_filename_component(module_name "${MODULE}" NAME)
get_filename_component(module_stem "${MODULE}" NAME_WE)
file(MAKE_DIRECTORY "${BUNDLE_DIR}")

if(NOT EXISTS "${ESBUILD}")
  message(FATAL_ERROR "no esbuild at ${ESBUILD}: scripts/build-web installs it (npm ci in web/)")
endif()

function(run_esbuild)
  execute_process(COMMAND "${ESBUILD}" ${ARGN} --log-level=warning RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "esbuild failed: ${ARGN}")
  endif()
endfunction()

# The chart's design size in CSS pixels (15 twips each), read from the control's surface.
file(READ "${SOURCE_DIR}/ui/surface.h" surface)
foreach(side Width Height)
  if(NOT surface MATCHES "kDesign${side} = ([0-9]+);")
    message(FATAL_ERROR "no kDesign${side} in ui/surface.h")
  endif()
  string(TOUPPER "${side}" upper)
  math(EXPR "DESIGN_${upper}" "${CMAKE_MATCH_1} / 15")
endforeach()

# The element and what it imports, with emscripten's loader, in one ES module: the .wasm is
# fetched as soon as the element starts, with no request for the loader before it. esbuild
# bundles them from a copy of web/element/'s scripts beside the module. Names are minified too
# (the element's class names itself ActiveX_Ctl).
set(staging "${module_dir}/element")
file(REMOVE_RECURSE "${staging}")
file(GLOB scripts "${SOURCE_DIR}/web/element/*.js")
file(COPY ${scripts} DESTINATION "${staging}")
# The stylesheet, with the design size and minified, beside them: the element bundles its text.
configure_file("${SOURCE_DIR}/web/element/zodiac-chart.css" "${staging}/css/zodiac-chart.css" @ONLY)
run_esbuild("${staging}/css/zodiac-chart.css" --minify "--outfile=${staging}/zodiac-chart.css")
execute_process(COMMAND "${NODE}" "${SOURCE_DIR}/web/build/adapt-loader.mjs" "${MODULE}"
                        "${staging}/${module_name}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot adapt the loader ${MODULE}")
endif()
run_esbuild("${staging}/zodiac-chart.js" --bundle --format=esm --minify
  --target=es2022 --loader:.css=text "--outfile=${BUNDLE_DIR}/zodiac-chart.js")
# The same stylesheet for server-rendered charts, which link it.
file(COPY_FILE "${staging}/zodiac-chart.css" "${BUNDLE_DIR}/zodiac-chart.css" ONLY_IF_DIFFERENT)
# The package's server entry (zodiac-chart/server), for Node: the same loader adapted, over the
# module's build that also writes the markup (SERVER_MODULE).
get_filename_component(server_dir "${SERVER_MODULE}" DIRECTORY)
get_filename_component(server_name "${SERVER_MODULE}" NAME)
get_filename_component(server_stem "${SERVER_MODULE}" NAME_WE)
execute_process(COMMAND "${NODE}" "${SOURCE_DIR}/web/build/adapt-loader.mjs" "${SERVER_MODULE}"
                        "${staging}/${server_name}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot adapt the loader ${SERVER_MODULE}")
endif()
run_esbuild("${staging}/server.js" --bundle --format=esm --minify --platform=node
  --target=node18 "--outfile=${BUNDLE_DIR}/server.js")

# Artwork: minified by minify-svg.mjs (declaration, comments and white space dropped; the
# background's outlines on a fifth-of-a-pixel grid); the background and the ten glyphs joined
# into one file, artwork.svg, by sprite-svg.mjs (one request and one SVG document in the
# browser for all eleven); the pointing hand, the style sheet's cursor, on its own.
set(art_dir "${module_dir}/artwork")
file(MAKE_DIRECTORY "${art_dir}")
set(glyphs)
foreach(name background glyph-0 glyph-1 glyph-2 glyph-3 glyph-4 glyph-5 glyph-6 glyph-7
             glyph-8 glyph-9 hand)
  execute_process(COMMAND "${NODE}" "${SOURCE_DIR}/web/build/minify-svg.mjs"
                          "${SOURCE_DIR}/assets/${name}.svg" "${art_dir}/${name}.svg"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot minify assets/${name}.svg")
  endif()
  if(name MATCHES "^glyph-")
    list(APPEND glyphs "${name}=${art_dir}/${name}.svg")
  endif()
endforeach()
file(COPY_FILE "${art_dir}/hand.svg" "${BUNDLE_DIR}/hand.svg" ONLY_IF_DIFFERENT)
execute_process(COMMAND "${NODE}" "${SOURCE_DIR}/web/build/sprite-svg.mjs" "${art_dir}/artwork.svg"
                        "${art_dir}/background.svg" ${glyphs}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot join the artwork into artwork.svg")
endif()
file(COPY_FILE "${art_dir}/artwork.svg" "${BUNDLE_DIR}/artwork.svg" ONLY_IF_DIFFERENT)

# package.json for npm: the source manifest with the project's version, without the build's
# own dependencies.
file(READ "${SOURCE_DIR}/web/package.json" manifest)
string(REGEX REPLACE "\"version\": \"[^\"]*\"" "\"version\": \"${VERSION}\"" manifest "${manifest}")
string(REGEX REPLACE ",[ \n]*\"devDependencies\": {[^}]*}" "" manifest "${manifest}")
string(JSON name GET "${manifest}" name)  # fails the build unless it is still JSON
file(WRITE "${BUNDLE_DIR}/package.json" "${manifest}")

set(files
  "${module_dir}/${module_stem}.wasm"
  "${server_dir}/${server_stem}.wasm"
  "${SOURCE_DIR}/web/element/zodiac-chart.d.ts"
  "${SOURCE_DIR}/web/element/custom-elements.json"
  "${SOURCE_DIR}/web/element/server.d.ts"
  "${SOURCE_DIR}/web/demo/index.html"
  "${SOURCE_DIR}/web/demo/demo.css"
  "${SOURCE_DIR}/web/demo/demo.js")
foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${file}" "${BUNDLE_DIR}/${name}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot copy ${file} into the bundle")
  endif()
endforeach()
