# SPDX-FileCopyrightText: 2026 The Nesdrix developers
#
# SPDX-License-Identifier: Apache-2.0

# What Debian's policy asks of a package's documentation: the copyright file,
# the changelog (a native package's changelog.gz, in Debian's format), manual
# pages, and bash completion for nesdrix-cli. Included by CMakeLists.txt here,
# after CPACK_PACKAGE_CONTACT is set.

set(NESDRIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/nesdrix)

# The copyright file in Debian's machine-readable format, from the facts that
# reuse reads: .reuse/dep5 for the files without a header, and for every other
# file the header that each carries.
set(NESDRIX_COPYRIGHT "2026 The Nesdrix developers")
set(dep5_file ${PROJECT_SOURCE_DIR}/.reuse/dep5)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dep5_file})
file(READ ${dep5_file} dep5)
string(FIND "${dep5}" "\n\n" header_end)
string(SUBSTRING "${dep5}" 0 ${header_end} dep5_header)
string(SUBSTRING "${dep5}" ${header_end} -1 dep5_files)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/copyright "${dep5_header}

Files: *
Copyright: ${NESDRIX_COPYRIGHT}
License: Apache-2.0${dep5_files}
License: Apache-2.0
 Licensed under the Apache License, Version 2.0 (the \"License\");
 you may not use this file except in compliance with the License.
 You may obtain a copy of the License at
 .
 http://www.apache.org/licenses/LICENSE-2.0
 .
 Unless required by applicable law or agreed to in writing, software
 distributed under the License is distributed on an \"AS IS\" BASIS,
 WITHOUT WARRANTIES OR CONDITIONS OF ANY KIND, either express or implied.
 See the License for the specific language governing permissions and
 limitations under the License.
 .
 On Debian systems, the complete text of the Apache License, Version 2.0
 can be found in \"/usr/share/common-licenses/Apache-2.0\".
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${NESDRIX_DOC_DIR})

find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/news-to-changelog.py
        ${PROJECT_SOURCE_DIR}/NEWS.md "${CPACK_PACKAGE_CONTACT}"
        ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DEPENDS news-to-changelog.py ${PROJECT_SOURCE_DIR}/NEWS.md
    VERBATIM)
add_custom_target(nesdrix_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${NESDRIX_DOC_DIR})

add_subdirectory(man)

install(FILES completion/nesdrix-cli
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(FILES lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME nesdrix)
