# nlohmann-json (header only), from Debian's nlohmann-json3-dev. The
# Windows build compiles the same headers: a copy of their folder alone
# goes on its include path, so that no other header of the build machine
# reaches the mingw compiler.
if(CMAKE_CROSSCOMPILING)
  find_path(NLOHMANN_JSON_HOST_INCLUDE nlohmann/json.hpp PATHS /usr/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(nlohmann_json_copy ${CMAKE_BINARY_DIR}/nlohmann-json/include)
  file(COPY ${NLOHMANN_JSON_HOST_INCLUDE}/nlohmann DESTINATION ${nlohmann_json_copy})
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${nlohmann_json_copy})
else()
  find_package(nlohmann_json 3.11 REQUIRED)
endif()
