// The dialog builder names every control after its identifier, so that tests find controls by name.
#include "res/DialogBuilder.h"

#include "tests/support/AllTemplates.h"

#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

TEST(DialogBuilder, NamesEachControlOnceAfterItsIdentifier)
{
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZQ708_SOURCE_DIR "/res"))
        files += entry.path().filename().string().ends_with("Template.cpp") ? 1 : 0;
    ASSERT_EQ(files, std::size(kAllTemplates)) << "a template is missing from tests/support/AllTemplates.h";

    for (const DialogTemplate* tmpl : kAllTemplates) {
        QWidget dlg;
        CDialogBuilder::Build(&dlg, *tmpl);
        std::set<int> ids;
        for (const ControlTemplate& c : tmpl->controls) {
            SCOPED_TRACE(testing::Message()
                         << "template " << tmpl->id << ", control " << c.id << " " << c.name);
            if (c.id == idc::Static) {
                EXPECT_STREQ(c.name, "");
                continue;
            }
            EXPECT_TRUE(ids.insert(c.id).second) << "identifier used twice";
            ASSERT_STRNE(c.name, "");
            // The first child of that name is this control: no other control shares its name.
            const QWidget* named =
                dlg.findChild<QWidget*>(QLatin1StringView(c.name), Qt::FindDirectChildrenOnly);
            EXPECT_EQ(named, GetDlgItem(&dlg, c.id));
        }
    }
}
