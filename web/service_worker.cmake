# Writes the page's service worker with the list of the files it keeps and their version
# (the hash of all of them together).
#   cmake -DWORKER=sw.js -DFOLDER=out "-DFILES=a;b" -DOUTPUT=out/sw.js -P service_worker.cmake
set(contents "")
set(list "")
foreach(file IN LISTS FILES)
  file(SHA256 ${FOLDER}/${file} hash)
  string(APPEND contents "${file} ${hash}\n")
  if(list)
    string(APPEND list ", ")
  endif()
  string(APPEND list "'${file}'")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING "${version}" 0 16 VERSION)
set(FILES "${list}")
configure_file(${WORKER} ${OUTPUT} @ONLY)
