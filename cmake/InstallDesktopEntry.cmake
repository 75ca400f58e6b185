# Runs when installing (cmake --install): writes the menu entry with the installed binary's
# full path in its Exec line, quoted and escaped as desktop entries require.
#
# In: ORBQUEST_DESKTOP_TEMPLATE, ORBQUEST_DESKTOP_WORK (a scratch file), ORBQUEST_INSTALL_BINDIR.

get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(exec "${prefix}/${ORBQUEST_INSTALL_BINDIR}/orbquest")

# Field codes start with %, so a literal one is doubled.
string(REPLACE "%" "%%" exec "${exec}")
# An argument with a reserved character is quoted, and inside the quotes \ " ` $ take a
# backslash.
if(exec MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
# The value is a string as well, whose escapes are undone before the quoting is read.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\t" "\\t" exec "${exec}")
string(REPLACE "\n" "\\n" exec "${exec}")
string(REPLACE "\r" "\\r" exec "${exec}")

set(ORBQUEST_EXEC "${exec}")
configure_file("${ORBQUEST_DESKTOP_TEMPLATE}" "${ORBQUEST_DESKTOP_WORK}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
  FILES "${ORBQUEST_DESKTOP_WORK}")
