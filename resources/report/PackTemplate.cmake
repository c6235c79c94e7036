# Packs the report template's XML sources in the current folder into the
# .docx package OUTPUT. Run as: cmake -DOUTPUT=... -P PackTemplate.cmake
include(${CMAKE_CURRENT_LIST_DIR}/ReportParts.cmake)
foreach(part IN LISTS REPORT_TEMPLATE_PARTS)
    if(NOT EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${part}")
        message(FATAL_ERROR "The report template lacks ${part}")
    endif()
endforeach()
# Packed beside the target and renamed into place, so that a program never
# finds half a template.
file(ARCHIVE_CREATE OUTPUT "${OUTPUT}.part" PATHS ${REPORT_TEMPLATE_PARTS} FORMAT zip
     MTIME "2024-01-01 00:00:00 UTC")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
