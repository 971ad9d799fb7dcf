# The licence texts of the linked libraries for the about box, taken at configure time from the
# licence files scripts/deps.sh keeps beside each library, so the box always shows the terms of
# what is linked. Each text becomes an array of wide string lines.

# text as the lines of a C array named name, appended to the variable out.
function(kv_licence_array out name text)
  string(REPLACE "\r" "" text "${text}")
  string(REGEX REPLACE "^\n+" "" text "${text}")
  string(REGEX REPLACE "[ \t\n]+$" "" text "${text}")
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "?" "\\?" text "${text}")
  string(REPLACE "\n" "\",\n    L\"" text "${text}")
  set(${out} "${${out}}const wchar_t* const ${name}[] = {\n    L\"${text}\",\n};\n\n" PARENT_SCOPE)
endfunction()

# The part of text from the line heading up to (not including) the line end_heading.
function(kv_licence_section out text heading end_heading)
  string(REPLACE "\r" "" text "${text}")
  string(FIND "${text}" "\n${heading}\n" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "licence text: no section \"${heading}\"")
  endif()
  math(EXPR start "${start} + 1")
  string(SUBSTRING "${text}" ${start} -1 text)
  string(FIND "${text}" "\n${end_heading}" end)
  if(NOT end EQUAL -1)
    string(SUBSTRING "${text}" 0 ${end} text)
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Sets KV_OPENSSL_LICENSE, KV_OPENSSL_README, KV_ONIG_LICENSE, KV_JPEG_LICENSE and
# KV_JPEG_IJG_README in the caller; a deps.cmake written before it named them leaves them to the
# place deps.sh keeps them (<root>/licence/).
function(kv_licence_files)
  set(roots OPENSSL OPENSSL ONIG JPEG JPEG)
  set(names LICENSE.txt README.md COPYING LICENSE.md README.ijg)
  set(index 0)
  foreach(var KV_OPENSSL_LICENSE KV_OPENSSL_README KV_ONIG_LICENSE KV_JPEG_LICENSE KV_JPEG_IJG_README)
    list(GET roots ${index} root)
    list(GET names ${index} name)
    math(EXPR index "${index} + 1")
    if(NOT DEFINED ${var})
      set(${var} "${KV_${root}_ROOT}/licence/${name}")
    endif()
    if(NOT EXISTS "${${var}}")
      message(FATAL_ERROR "${var} names no licence file; run scripts/setup (it keeps them beside the libraries)")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${${var}}")
    set(${var} "${${var}}" PARENT_SCOPE)
  endforeach()
endfunction()

function(kv_write_licences file)
  kv_licence_files()
  file(READ "${KV_JPEG_LICENSE}" jpeg)
  file(READ "${KV_JPEG_IJG_README}" ijg)
  kv_licence_section(ijg "${ijg}" "LEGAL ISSUES" "REFERENCES\n")
  file(READ "${KV_ONIG_LICENSE}" onig)
  file(READ "${KV_OPENSSL_README}" openssl_copyright)
  # README.md ends with its copyright lines, then the links of the page.
  kv_licence_section(openssl_copyright "${openssl_copyright}" "Copyright" "<!--")
  file(READ "${KV_OPENSSL_LICENSE}" openssl)

  set(body "// Generated from the licence files of the linked libraries (cmake/Licences.cmake).\n\n")
  kv_licence_array(body kJpegLicence "${jpeg}")
  kv_licence_array(body kIjgLicence "${ijg}")
  kv_licence_array(body kOnigurumaLicence "${onig}")
  kv_licence_array(body kOpenSslCopyright "${openssl_copyright}")
  kv_licence_array(body kOpenSslLicence "${openssl}")
  # Copied only when changed, so a new configure run does not rebuild the box.
  file(WRITE "${file}.new" "${body}")
  configure_file("${file}.new" "${file}" COPYONLY)
endfunction()
