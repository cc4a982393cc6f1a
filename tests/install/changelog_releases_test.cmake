# The AppStream releases made from a changelog: cmake -DSOURCE_DIR=... -P this
# The unreleased section stays out, an indented line continues its item,
# and text that would break the XML or CMake's lists arrives as it was.
include(${SOURCE_DIR}/packaging/ChangelogReleases.cmake)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog_releases_test.md)
file(WRITE ${changelog} [=[
# Changelog
## Unreleased
- not shipped yet
## 1.11 (2027-01-02)
- a [list; of `names` & <tags>
  that goes on ] here
- second
## 1.10 (2026-12-10)
- first
]=])
quillon_changelog_releases(${changelog} 1.11 releases)
file(REMOVE ${changelog})
set(expected [=[  <releases>
    <release version="1.11" date="2027-01-02">
      <description>
        <ul>
          <li>a [list; of names &amp; &lt;tags&gt; that goes on ] here</li>
          <li>second</li>
        </ul>
      </description>
    </release>
    <release version="1.10" date="2026-12-10">
      <description>
        <ul>
          <li>first</li>
        </ul>
      </description>
    </release>
  </releases>]=])
if(NOT releases STREQUAL expected)
    message(FATAL_ERROR "releases differ:\n${releases}\nexpected:\n${expected}")
endif()
