#include "controls/ImageList.h"
#include "controls/ListControl.h"
#include "controls/TreeControl.h"
#include "platform/qt/QtImageCache.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtTreeModel.h"

#include <QAbstractItemModelTester>
#include <QTreeView>
#include <gtest/gtest.h>

// Qt's own model checker watches every notice of the models while the controls go
// through long runs of mixed changes; any inconsistency it finds is a failure here.
namespace {

std::vector<std::string> complaints;

void collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        complaints.push_back(message.toStdString());
    }
}

class ModelConsistencyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        complaints.clear();
        previous_ = qInstallMessageHandler(collect);
    }
    void TearDown() override { qInstallMessageHandler(previous_); }

    unsigned next(unsigned bound) {
        seed_ = seed_ * 1103515245u + 12345u;
        return (seed_ >> 8) % bound;
    }

  private:
    QtMessageHandler previous_ = nullptr;
    unsigned seed_ = 2024;
};

} // namespace

TEST_F(ModelConsistencyTest, TreeModelStaysConsistentThroughMixedChanges) {
    ImageList images;
    TreeControl tree;
    QtImageCache cache(images);
    QtTreeModel model(tree, cache);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QTreeView view;
    view.setModel(&model);
    view.show();
    tree.add("", TreeRelation::Child, "R", "/");
    std::vector<std::string> keys{"R"};
    for (int step = 0; step < 600; ++step) {
        const std::string key = "K" + std::to_string(step);
        const std::string& other = keys[next(static_cast<unsigned>(keys.size()))];
        switch (next(5)) {
        case 0:
        case 1:
            if (tree.add(other, TreeRelation::Child, key, key)) {
                keys.push_back(key);
            }
            break;
        case 2:
            if (other != "R" && tree.add(other, TreeRelation::Previous, key, key)) {
                keys.push_back(key);
            }
            break;
        case 3:
            if (other != "R") {
                tree.remove(other);
                std::erase_if(keys, [&](const std::string& k) { return !tree.find(k); });
            }
            break;
        default:
            tree.setText(tree.find(other), "t" + key);
            tree.expand(tree.find(other));
            view.expand(model.indexOf(tree.find(other)));
            break;
        }
    }
    tree.clear();
    EXPECT_TRUE(complaints.empty()) << complaints.front();
}

TEST_F(ModelConsistencyTest, ListModelStaysConsistentThroughMixedChanges) {
    ImageList images;
    ListControl list;
    QtImageCache cache(images);
    QtListModel model(list, cache);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QTreeView view;
    view.setModel(&model);
    view.show();
    int serial = 0;
    for (int step = 0; step < 300; ++step) {
        switch (next(6)) {
        case 0: {
            std::vector<ListItemData> batch(next(20));
            for (ListItemData& data : batch) {
                data.key = "L" + std::to_string(++serial);
                data.text = std::to_string(next(1000));
            }
            list.addItems(std::move(batch));
            break;
        }
        case 1: {
            ListItemData data;
            data.key = "L" + std::to_string(++serial);
            data.text = std::to_string(next(1000));
            list.add(data);
            break;
        }
        case 2: {
            std::vector<std::string> gone;
            for (int i = 0; i < 5 && list.count() > 0; ++i) {
                gone.emplace_back(list.itemAt(1 + static_cast<int>(next(list.count())))->key());
            }
            list.removeItems(gone);
            break;
        }
        case 3:
            list.setSortKey(0);
            list.setSortOrder(next(2) ? SortOrder::Ascending : SortOrder::Descending);
            list.setSorted(true);
            break;
        case 4:
            if (list.count() > 0) {
                ListItem* item = list.itemAt(1 + static_cast<int>(next(list.count())));
                list.setColumnText(item, 2, "x");
                list.setCurrent(item);
            }
            break;
        default:
            if (next(10) == 0) {
                list.clear();
            }
            break;
        }
    }
    EXPECT_TRUE(complaints.empty()) << complaints.front();
}
