# Writes the page's release into its folder: the page's script, its style sheet and the
# core's module under names that carry their content's hash, the page that names them, and
# the service worker that keeps exactly these files. A host may cache a file as long as it
# likes: a new release has new names, so a page never runs with a script or a core of
# another release.
#   cmake -DSOURCE=web -DMODULE=evaluation_module.js -DCODE=evaluation_code.wasm
#         -DFOLDER=out "-DFILES=a;b" -P release.cmake
# FILES: the folder's other files the service worker keeps, as they are named.
# EDITIONS: the files of the editions of the rent index that the release ships besides the
# core's built-in one; they go out as data in a script of their own, which the page and the
# batch page hand to the core.

# INPUTS, instead of SOURCE, MODULE, CODE and FILES: the file the build wrote with them
# (release-inputs.cmake), for a release made again with other editions.
if(INPUTS)
  include("${INPUTS}")
endif()

# The file name NAME.<hash>.EXTENSION for that hash; drops that name's files of earlier
# releases from the folder.
function(hashed_name hash name extension out)
  string(SUBSTRING "${hash}" 0 16 hash)
  set(file "${name}.${hash}.${extension}")
  file(GLOB earlier "${FOLDER}/${name}.*.${extension}")
  foreach(old IN LISTS earlier)
    get_filename_component(old_name "${old}" NAME)
    if(NOT old_name STREQUAL file AND old_name MATCHES "^${name}\\.[0-9a-f]+\\.${extension}$")
      file(REMOVE "${old}")
    endif()
  endforeach()
  set(${out} "${file}" PARENT_SCOPE)
endfunction()

# Writes the text as NAME.<hash>.EXTENSION into the folder and sets OUT to that name.
function(write_hashed contents name extension out)
  string(SHA256 hash "${contents}")
  hashed_name("${hash}" ${name} ${extension} file)
  file(WRITE "${FOLDER}/${file}" "${contents}")
  set(${out} "${file}" PARENT_SCOPE)
endfunction()

file(READ "${MODULE}" module)
write_hashed("${module}" evaluation_module js module_file)

# The core's code, bytes as they are.
file(SHA256 "${CODE}" code_hash)
hashed_name("${code_hash}" evaluation_module wasm code_file)
file(COPY_FILE "${CODE}" "${FOLDER}/${code_file}")

# The small script that joins the code to the page, built beside the code.
get_filename_component(code_folder "${CODE}" DIRECTORY)
file(READ "${code_folder}/evaluation_code.js" joining)
write_hashed("${joining}" evaluation_code js joining_file)

# A text as a JavaScript string literal.
function(js_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  string(REPLACE "<" "\\x3c" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

set(editions "")
foreach(edition IN LISTS EDITIONS)
  get_filename_component(edition_name "${edition}" NAME)
  file(READ "${edition}" edition_text)
  js_string("${edition_name}" name_literal)
  js_string("${edition_text}" text_literal)
  if(editions)
    string(APPEND editions ",\n")
  endif()
  string(APPEND editions "{file: ${name_literal}, text: ${text_literal}}")
endforeach()
write_hashed("// The editions of the rent index this release ships besides the core's own.
self.msrRentIndexEditions = [${editions}];
" rent_index_editions js editions_file)

# A script served without its comment lines and indentation, which a browser would
# otherwise read on every start; its lines stay where they are, so that an error's line
# number still points into the source.
function(strip_script text result)
  string(REGEX REPLACE "\n[ ]*//[^\n]*" "\n" text "\n${text}")
  string(REGEX REPLACE "\n[ ]+" "\n" text "${text}")
  string(SUBSTRING "${text}" 1 -1 text)
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# The batch page's scripts name it too.
foreach(batch_script batch.js batch_worker.js)
  file(READ "${SOURCE}/${batch_script}" text)
  string(REPLACE "'rent_index_editions.js'" "'${editions_file}'" text "${text}")
  strip_script("${text}" text)
  file(WRITE "${FOLDER}/${batch_script}" "${text}")
endforeach()

file(READ "${SOURCE}/page.js" script)
string(REPLACE "'evaluation_module.js'" "'${module_file}'" script "${script}")
string(REPLACE "'evaluation_module.wasm'" "'${code_file}'" script "${script}")
string(REPLACE "'evaluation_code.js'" "'${joining_file}'" script "${script}")
string(REPLACE "'rent_index_editions.js'" "'${editions_file}'" script "${script}")
strip_script("${script}" script)
write_hashed("${script}" page js script_file)

# The style sheet without its comments and indentation.
file(READ "${SOURCE}/page.css" style)
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" style "${style}")
string(REGEX REPLACE "\n[ ]+" "\n" style "${style}")
string(REGEX REPLACE "\n\n+" "\n" style "${style}")
write_hashed("${style}" page css style_file)

# Puts the text where the page holds the placeholder; stops the release where the
# page holds none, naming what was to go there.
function(fill_in placeholder text what)
  string(FIND "${page}" "${placeholder}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "index.html: ${what} is not where the release expects it")
  endif()
  string(REPLACE "${placeholder}" "${text}" filled "${page}")
  set(page "${filled}" PARENT_SCOPE)
endfunction()

file(READ "${SOURCE}/index.html" page)
# The page header's artwork stands in the page itself: as an image the browser would lay it
# out as a document of its own, with its own font lookups for its letters, on the main
# thread while the page starts. Its title names it, as the image's text did.
file(READ "${SOURCE}/artwork-header.svg" artwork)
string(REGEX REPLACE "<!--[^>]*-->[ \n]*" "" artwork "${artwork}")
string(REPLACE "<svg xmlns=\"http://www.w3.org/2000/svg\"" "<svg role=\"img\"" artwork "${artwork}")
string(STRIP "${artwork}" artwork)
fill_in("<img src=\"artwork-header.svg\" alt=\"KWL Hausgilde Varlstadt e. V.\" width=\"92\" height=\"45\">"
        "${artwork}" "the page header's image")
# The size field's list, 1 to 150 square metres, stands in the page as the dialog's list
# does, ready before the page's script runs.
set(sizes "")
foreach(square_metres RANGE 1 150)
  string(APPEND sizes "<option>${square_metres}") # an option's end tag may be left out
endforeach()
fill_in("<datalist id=\"LivingAreaList\"></datalist>"
        "<datalist id=\"LivingAreaList\">${sizes}</datalist>" "the size field's list")
# Without comments and indentation: nothing in the page's own markup keeps white space.
string(REGEX REPLACE "<!--([^-]|-[^-])*-->" "" page "${page}")
string(REGEX REPLACE "\n[ ]+" "\n" page "${page}")
string(REPLACE "href=\"page.css\"" "href=\"${style_file}\"" page "${page}")
string(REPLACE "src=\"page.js\"" "src=\"${script_file}\"" page "${page}")
file(WRITE "${FOLDER}/index.html" "${page}")

set(WORKER "${SOURCE}/sw.js")
set(OUTPUT "${FOLDER}/sw.js")
list(APPEND FILES index.html ${module_file} ${code_file} ${joining_file} ${script_file} ${style_file}
     ${editions_file})
include("${SOURCE}/service_worker.cmake")
