#pragma once

#include "settings/SettingsFile.h"

#include <QString>

struct TAppParams;

// The file list's look as the options window shows and edits it; the
// fields are named after their keys in the settings file.
struct FileListLook
{
    QString ListFontName;
    int ListFontSize = 8;
    int RowHeight = 20;
    bool GridLines = true;
    bool GridFooter = true;
    bool RowIndicator = true;
    bool AllowRowMoving = true;
    bool AllowColumnMoving = true;
};

// What the options window changes outside TAppParams: the file list, the
// default AVI video codec and the files converted at once. The main window implements it; every
// setter is called at once when the user changes a control, never while the options window fills
// its controls.
class OptionsTarget
{
public:
    virtual ~OptionsTarget() = default;

    // Read each time the options window is shown or comes to the front.
    virtual FileListLook fileListLook() const = 0;
    // The AVI codec entry the default-settings commands use: 0 Xvid, 2 H.264.
    virtual int defaultVideoCodec() const = 0;
    virtual AppTheme theme() const = 0;
    // "Simultaneous conversions": 0 for Auto, else the count; the same
    // setting the main window's output options show.
    virtual int simultaneousConversions() const = 0;

    // The list and its cells take the family; the column headers keep
    // theirs until the size next changes.
    virtual void setListFontName(const QString &family) = 0;
    // The current family at this size for the list, its cells and headers;
    // the header height is ListHeaderHeight(points) (settings/SettingsFile.h).
    virtual void setListFontSize(int points) = 0;
    // For the rows already there as well as for new ones.
    virtual void setListRowHeight(int pixels) = 0;
    virtual void setListGridLines(bool on) = 0;
    virtual void setListFooterVisible(bool on) = 0;
    virtual void setListRowIndicator(bool on) = 0;
    virtual void setListRowMovingAllowed(bool on) = 0;
    virtual void setListColumnMovingAllowed(bool on) = 0;
    virtual void setDefaultVideoCodec(int aviCodec) = 0;
    virtual void setSimultaneousConversions(int count) = 0;
    // Every window of the program takes the new look at once.
    virtual void setTheme(AppTheme theme) = 0;
    // OpenFileAfterIconClick or FileAnalysis changed in params (the file
    // list takes them for the rows added from now on).
    virtual void appParamsChanged(const TAppParams &params) = 0;
};
