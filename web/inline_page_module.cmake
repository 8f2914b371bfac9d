# Writes the page with its module script inlined in place of its reference:
#   cmake -DPAGE=index.html -DMODULE=page.mjs -DOUTPUT=out/index.html -P inline_page_module.cmake
file(READ ${PAGE} page)
file(READ ${MODULE} module)
set(reference "<script type=\"module\" src=\"page.mjs\"></script>")
string(FIND "${page}" "${reference}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE} does not load page.mjs as ${reference}")
endif()
string(REPLACE "${reference}" "<script type=\"module\">\n${module}</script>" page "${page}")
file(WRITE ${OUTPUT} "${page}")
