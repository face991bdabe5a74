# cmake -DBZIP2=... -DINPUT=Unihan_Readings.txt.bz2 -DOUTPUT=file.cpp -P UnihanReadings.cmake
# Writes the readings of every Han character that the modern dictionaries of Unicode's Unihan
# database (kTGHZ2013, kXHC1983) read in more than one way, tone marks kept, in code point order.
get_filename_component(folder ${OUTPUT} DIRECTORY)
set(text ${folder}/Unihan_Readings.txt)
execute_process(COMMAND ${BZIP2} -dc ${INPUT} OUTPUT_FILE ${text} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot unpack ${INPUT}")
endif()
file(STRINGS ${text} lines REGEX "^U\\+[0-9A-F]+\t(kTGHZ2013|kXHC1983)\t" ENCODING UTF-8)
file(REMOVE ${text})

set(table "")
set(current "")
set(words "")
macro(take_current)
  list(REMOVE_DUPLICATES words)
  list(LENGTH words count)
  if(count GREATER 1)
    list(JOIN words " " joined)
    string(APPEND table "    {0x${current}, \"${joined}\"},\n")
  endif()
endmacro()
# "U+884C<tab>kXHC1983<tab>0442.080:háng 0443.050:hàng": each reading after its page locator.
foreach(line IN LISTS lines)
  string(REGEX MATCH "^U\\+([0-9A-F]+)\t[A-Za-z0-9]+\t(.*)$" whole "${line}")
  if(NOT CMAKE_MATCH_1 STREQUAL current)
    take_current()
    set(current ${CMAKE_MATCH_1})
    set(words "")
  endif()
  string(REGEX REPLACE "[0-9.]+\\*?:" "" readings "${CMAKE_MATCH_2}")
  string(REPLACE "," " " readings "${readings}")
  separate_arguments(readings UNIX_COMMAND "${readings}")
  list(APPEND words ${readings})
endforeach()
take_current()
if(table STREQUAL "")
  message(FATAL_ERROR "${INPUT} holds no dictionary readings")
endif()

file(WRITE ${OUTPUT}.new "// Generated from ${INPUT}; do not edit.
#include \"lookup/unihan_readings.h\"

namespace lark {
namespace {

constexpr UnihanReadings kReadings[] = {
${table}};

} // namespace

std::span<const UnihanReadings> unihanReadings()
{
    return kReadings;
}

} // namespace lark
")
file(RENAME ${OUTPUT}.new ${OUTPUT})
