# Copies the web bundle into BUNDLE_DIR: the module MODULE with its .wasm, the element's modules,
# the demo page, and the artwork of assets/.
get_filename_component(module_dir "${MODULE}" DIRECTORY)
get_filename_component(module_stem "${MODULE}" NAME_WE)
file(MAKE_DIRECTORY "${BUNDLE_DIR}")

set(files
  "${MODULE}"
  "${module_dir}/${module_stem}.wasm"
  "${SOURCE_DIR}/web/zodiac-chart.js"
  "${SOURCE_DIR}/web/core.js"
  "${SOURCE_DIR}/web/overlay.js"
  "${SOURCE_DIR}/web/dom.js"
  "${SOURCE_DIR}/web/demo/index.html"
  "${SOURCE_DIR}/web/demo/demo.css"
  "${SOURCE_DIR}/web/demo/demo.js")
foreach(name background glyph-0 glyph-1 glyph-2 glyph-3 glyph-4 glyph-5 glyph-6 glyph-7
             glyph-8 glyph-9 hand)
  list(APPEND files "${SOURCE_DIR}/assets/${name}.svg")
endforeach()

foreach(file IN LISTS files)
  get_filename_component(name "${file}" NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${file}" "${BUNDLE_DIR}/${name}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot copy ${file} into the bundle")
  endif()
endforeach()
