# The README's quick start shows quickstart.cpp whole: fails when the two
# have drifted apart. Run with -DREADME=... -DEXAMPLE=...
file(READ ${README} readme)
file(READ ${EXAMPLE} example)
string(FIND "${readme}" "```cpp\n${example}```" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show ${EXAMPLE} as it is")
endif()
