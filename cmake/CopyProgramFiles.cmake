# Copies every language file of SRC_DIR into DST_DIR, and the sample setting.ini only when
# DST_DIR has none yet (it holds the user's choices).
file(MAKE_DIRECTORY "${DST_DIR}")
file(GLOB langs "${SRC_DIR}/*.lang")
foreach(f ${langs})
    get_filename_component(name "${f}" NAME)
    file(COPY_FILE "${f}" "${DST_DIR}/${name}" ONLY_IF_DIFFERENT)
endforeach()
if(EXISTS "${SRC_DIR}/setting.ini" AND NOT EXISTS "${DST_DIR}/setting.ini")
    file(COPY_FILE "${SRC_DIR}/setting.ini" "${DST_DIR}/setting.ini")
endif()
