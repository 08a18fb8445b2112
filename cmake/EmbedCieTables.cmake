# Compiles the CIE colorimetry tables (CSV, 380 to 780 nm in 5 nm steps) into a C++ source at
# configure time. The library carries the numbers; nothing reads the CSV files at run time. A
# changed table re-runs the configuration.

# The columns after the wavelength of one table, each as a C++ initializer list of 81 values and
# a closing 0, in the variables <prefix>_1, <prefix>_2, ...
function(hvx_read_cie_table file columns prefix)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "CIE table ${file} not found (set HVX_CIE_DATA_DIR)")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
  file(STRINGS "${file}" lines)
  list(POP_FRONT lines) # the header
  list(LENGTH lines rows)
  if(NOT rows EQUAL 81)
    message(FATAL_ERROR "${file}: ${rows} rows, 81 expected")
  endif()
  foreach(c RANGE 1 ${columns})
    set(values_${c} "")
  endforeach()
  set(expected 380)
  foreach(line ${lines})
    string(REPLACE "," ";" cells "${line}")
    list(LENGTH cells n)
    math(EXPR want "${columns} + 1")
    list(GET cells 0 wavelength)
    if(NOT n EQUAL want OR NOT wavelength EQUAL expected)
      message(FATAL_ERROR "${file}: row '${line}' is not ${expected} nm with ${columns} values")
    endif()
    foreach(c RANGE 1 ${columns})
      list(GET cells ${c} value)
      if(NOT value MATCHES "^[0-9]+(\\.[0-9]+)?$")
        message(FATAL_ERROR "${file}: '${value}' is not a plain decimal")
      endif()
      string(APPEND values_${c} "${value}, ")
    endforeach()
    math(EXPR expected "${expected} + 5")
  endforeach()
  foreach(c RANGE 1 ${columns})
    set(${prefix}_${c} "{${values_${c}}0}" PARENT_SCOPE)
  endforeach()
endfunction()

function(hvx_embed_cie_tables folder output)
  hvx_read_cie_table("${folder}/cie1931_2deg_cmf.csv" 3 cmf2)
  hvx_read_cie_table("${folder}/cie1964_10deg_cmf.csv" 3 cmf10)
  hvx_read_cie_table("${folder}/cie1988_vm.csv" 1 vm)
  hvx_read_cie_table("${folder}/locus_2deg.csv" 2 locus2)
  hvx_read_cie_table("${folder}/locus_10deg.csv" 2 locus10)
  file(CONFIGURE OUTPUT "${output}" @ONLY CONTENT [[
// Generated from the CIE tables in spectrumdata/data/cie (see their SOURCES.md); do not edit.
#include "CieTables.h"

namespace cie {

const Observer kObserver1931 = {
  @cmf2_1@,
  @cmf2_2@,
  @cmf2_3@,
  @locus2_1@,
  @locus2_2@,
};

const Observer kObserver1964 = {
  @cmf10_1@,
  @cmf10_2@,
  @cmf10_3@,
  @locus10_1@,
  @locus10_2@,
};

const double kPhotopicVM[kSlots] = @vm_1@;

} // namespace cie
]])
endfunction()
