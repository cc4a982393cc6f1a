#pragma once

#include "encoding/Profiles.h"

#include <QComboBox>
#include <QList>

struct TAppStrings;

// cbProfileNew: the two fixed entries ("The last session settings", "Encoder
// default settings", the second in bold), then the profiles of the folder,
// each in its own colours (as corrected by ProfileEntryColorsOf) and on as
// many lines as its name has. The fixed entries and profiles without colours
// take the palette's colours. The closed box shows the selected entry's
// colours.
class ProfileComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ProfileComboBox(QWidget *parent = nullptr);

    // Rebuilds the entries; entry 0 is selected. Reports no change.
    void setProfiles(const QList<TProfileInfo> &profiles, const TAppStrings &strings);
    const QList<TProfileInfo> &profiles() const { return m_profiles; }
    // The fixed entries in the new language, selection kept (entry 0 when
    // it was lost). Reports no change.
    void SetLang(const TAppStrings &strings);
    // Selects an entry without loading it.
    void select(int entry);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QList<TProfileInfo> m_profiles;
};
