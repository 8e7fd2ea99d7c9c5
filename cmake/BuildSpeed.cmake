# Build speed: a faster linker when Debian has one installed, and
# precompiled headers shared by every target of the same kind.
#
# A kind's first target compiles the headers; the others reuse that result
# (REUSE_FROM), so the standard library, Qt and GoogleTest headers are parsed
# once per build instead of once per source file.

option(VANTOR_PCH "Precompile the standard library, Qt, GoogleTest and JSON headers" ON)
set(VANTOR_LINKER "auto" CACHE STRING "Linker for -fuse-ld (auto: mold, then lld, then the default)")

if(VANTOR_LINKER STREQUAL "auto")
    find_program(VANTOR_MOLD mold)
    find_program(VANTOR_LLD ld.lld)
    if(VANTOR_MOLD)
        set(VANTOR_LINKER mold)
    elseif(VANTOR_LLD)
        set(VANTOR_LINKER lld)
    else()
        set(VANTOR_LINKER "")
    endif()
endif()
if(VANTOR_LINKER)
    add_link_options(-fuse-ld=${VANTOR_LINKER})
    message(STATUS "Linking with ${VANTOR_LINKER}")
endif()

set(VANTOR_PCH_STD
    <algorithm>
    <array>
    <cstdint>
    <cstdio>
    <cstring>
    <filesystem>
    <functional>
    <map>
    <memory>
    <optional>
    <set>
    <string>
    <string_view>
    <vector>)
set(VANTOR_PCH_KIND_std ${VANTOR_PCH_STD})
set(VANTOR_PCH_KIND_gtest ${VANTOR_PCH_STD} <gtest/gtest.h> <gmock/gmock.h>)
set(VANTOR_PCH_KIND_json ${VANTOR_PCH_STD} <nlohmann/json.hpp>)
set(VANTOR_PCH_KIND_qt
    ${VANTOR_PCH_STD}
    <QApplication>
    <QComboBox>
    <QDialog>
    <QDialogButtonBox>
    <QDir>
    <QFileInfo>
    <QFormLayout>
    <QHBoxLayout>
    <QLabel>
    <QLineEdit>
    <QMainWindow>
    <QMessageBox>
    <QPainter>
    <QProgressBar>
    <QPushButton>
    <QString>
    <QTableWidget>
    <QTcpSocket>
    <QTimer>
    <QTreeWidget>
    <QVBoxLayout>)
set(VANTOR_PCH_KIND_qttest ${VANTOR_PCH_KIND_qt} <QtTest>)

# vantor_pch(TARGET KIND): KIND is std, gtest, json, qt or qttest.
function(vantor_pch target kind)
    if(NOT VANTOR_PCH)
        return()
    endif()
    get_property(host GLOBAL PROPERTY VANTOR_PCH_HOST_${kind})
    if(host)
        target_precompile_headers(${target} REUSE_FROM ${host})
    else()
        target_precompile_headers(${target} PRIVATE ${VANTOR_PCH_KIND_${kind}})
        set_property(GLOBAL PROPERTY VANTOR_PCH_HOST_${kind} ${target})
    endif()
endfunction()
