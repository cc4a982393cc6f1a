# Precompiled headers: most of a compile here is parsing the same Qt, standard
# and GoogleTest headers again. Each target gets its own (its flags differ:
# the tests allow casts from literals), made from the headers its sources
# include most. Sources still include what they use; a build with
# QLN_PCH=OFF (the clang builds, clang-tidy) keeps them honest.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(qln_pch_default ON)
else()
    set(qln_pch_default OFF)
endif()
option(QLN_PCH "Precompile the common Qt, standard and test headers (GCC)" ${qln_pch_default})

set(QLN_PCH_CORE
    <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale>
    <QObject> <QRegularExpression> <QString> <QStringList>
    <algorithm> <array> <chrono> <cstdint> <functional> <memory> <mutex> <optional>
    <string> <utility> <vector>)
set(QLN_PCH_WIDGETS
    <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QEvent> <QFileDialog>
    <QGridLayout> <QGroupBox> <QHBoxLayout> <QHeaderView> <QIcon> <QLabel> <QLineEdit>
    <QMenu> <QMessageBox> <QPainter> <QPlainTextEdit> <QPushButton> <QScrollBar> <QStyle>
    <QTimer> <QUrl> <QVBoxLayout> <QWidget>)
set(QLN_PCH_TESTS
    <gmock/gmock.h> <gtest/gtest.h> <QElapsedTimer> <QProcess> <QTemporaryDir>)

# quillon_precompile(TARGET core|ui|tests|ui-tests)
function(quillon_precompile target kind)
    if(NOT QLN_PCH)
        return()
    endif()
    set(headers ${QLN_PCH_CORE})
    if(kind MATCHES "ui")
        list(APPEND headers ${QLN_PCH_WIDGETS})
    endif()
    if(kind MATCHES "tests")
        list(APPEND headers ${QLN_PCH_TESTS})
    endif()
    if(kind STREQUAL "ui-tests")
        list(APPEND headers <QSignalSpy> <QTest>)
    endif()
    target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
