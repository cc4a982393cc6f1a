#include "filelist/SupportedExtensions.h"
#include "i18n/AppStrings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(SupportedExtensions, TableOf78InOrder)
{
    const QStringList &table = SupportedExtensions();
    ASSERT_EQ(table.size(), 78);
    EXPECT_EQ(table.first(), u"WEBM"_s);
    EXPECT_EQ(table.at(19), u"MKV"_s);
    EXPECT_EQ(table.last(), u"MXF"_s);
    QStringList copy = table;
    EXPECT_EQ(copy.removeDuplicates(), 0);
}

TEST(SupportedExtensions, IsSupportedFile)
{
    const std::pair<QString, bool> cases[] = {
        {u"/v/movie.mkv"_s, true},
        {u"/v/movie.MKV"_s, true},
        {u"movie.Dvr-Ms"_s, true},
        {u"/v/a.true-hd"_s, true},
        {u"/v/movie.mkv.part"_s, false},
        {u"/v/movie"_s, false},
        {u"/v.mkv/movie"_s, false}, // the folder's extension does not count
        {u"/v/movie.mkv "_s, false}, // a trailing blank is part of the extension
        {u"/v/.mkv"_s, true},
        {u""_s, false},
        {u"/v/movie."_s, false},
    };
    for (const auto &[path, supported] : cases)
        EXPECT_EQ(IsSupportedFile(path), supported) << path.toStdString();
}

TEST(SupportedExtensions, OpenDialogFilter)
{
    TAppStrings strings;
    const QString filter = OpenDialogFilter(strings);
    EXPECT_TRUE(
        filter.startsWith(u"MKV video files (*.mkv);;All supported files (*.webm *.avi "_s));
    EXPECT_TRUE(filter.endsWith(u" *.tta *.mxf)"_s));
}

} // namespace
