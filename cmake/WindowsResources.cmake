# The version header and the application manifest, generated from the project's version for the
# resource script (the product's and the floor dialog's).
set(ZEM_GENERATED_RESOURCES ${PROJECT_BINARY_DIR}/generated)
set(ZEM_VERSION_QUAD_DOTTED "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(ZEM_MANIFEST_FILE ${ZEM_GENERATED_RESOURCES}/zemclientui.manifest)
configure_file(${PROJECT_SOURCE_DIR}/resources/zemclientui.manifest.in ${ZEM_MANIFEST_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/version.h.in ${ZEM_GENERATED_RESOURCES}/version.h
               @ONLY)
# windres does not report the files a script pulls in: rebuild the script when they change.
set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/zemclientui.rc PROPERTIES
    OBJECT_DEPENDS "${ZEM_MANIFEST_FILE};${ZEM_GENERATED_RESOURCES}/version.h;${PROJECT_SOURCE_DIR}/resources/zemclientui.ico")
