#include "controls/LabelSelection.h"

#include <gtest/gtest.h>
#include <string>

TEST(LabelSelectionTest, AStemEndsAtTheLastDotThatFollowsANameAndAWholeNameIsAllOfIt) {
    struct Case {
        std::u16string shown;
        LabelPart part;
        std::u16string selected;
    };
    const Case cases[] = {
        {u"report.txt", LabelPart::Stem, u"report"},
        {u"archive.tar.gz", LabelPart::Stem, u"archive.tar"},
        {u"README", LabelPart::Stem, u"README"},
        {u".bashrc", LabelPart::Stem, u".bashrc"},
        {u"..hidden", LabelPart::Stem, u"..hidden"},
        {u".bashrc.bak", LabelPart::Stem, u".bashrc"},
        {u"ends.", LabelPart::Stem, u"ends"},
        {u"", LabelPart::Stem, u""},
        {u"表😀メモ.txt", LabelPart::Stem, u"表😀メモ"},
        {u"report.txt", LabelPart::Whole, u"report.txt"},
        {u"v1.2", LabelPart::Whole, u"v1.2"},
    };
    for (const Case& c : cases) {
        const std::size_t length = LabelSelection::length(c.shown, c.part);
        EXPECT_TRUE(c.shown.substr(0, length) == c.selected) << "case " << &c - cases;
    }
}
