#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "../appcore/storefixture.h"
#include "dataviewkit/dsptreeviewdialog.h"
#include "scriptedinteraction.h"

namespace {

// CLIENTS { TableName, Remark, Icon; Fields { ID, NAME } }; both fields have a Size.
TDSPNode ClientsBody() {
    TDSPNode root("CLIENTS");
    root.SetProperty("TableName", QString("CLIENTS"));
    root.SetProperty("Remark", QString("Customers of the shop"));
    root.SetProperty("Icon", QByteArray("\x00\x07\x0e\xfc", 4));
    TDSPNode& fields = root.AddNode("Fields");
    for (const char* name : {"ID", "NAME"}) {
        TDSPNode& f = fields.AddNode(name);
        f.SetProperty("DataType", qlonglong(3));
        f.SetProperty("Size", qlonglong(4));
    }
    return root;
}

template <typename W>
W* Find(QWidget* in, const char* name) {
    return in->findChild<W*>(QString::fromLatin1(name));
}

// Waits (bounded) until the queued messages of the view have been shown.
void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class DSPTreeDialogTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        Script().Reset();
    }
};

TEST_P(DSPTreeDialogTest, AValueIsEditedInTheDialogCheckedAndSavedWithCtrlS) {
    Dsp().PutStructure("CLIENTS", 10, ClientsBody().ToBytes());
    QPointer<TDSPTreeViewDialog> dialog = OpenDSPTreeDialog(Alias(), "CLIENTS", 10);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    TDSPFormTreeView* view = dialog->TreeView();
    EXPECT_TRUE(Find<QLabel>(dialog, "HeaderLabel")->text().contains("CLIENTS"));
    EXPECT_TRUE(Find<QLabel>(dialog, "HeaderLabel")->text().contains(Alias()));
    QAction* save = Find<QAction>(dialog, "SaveAction");
    EXPECT_FALSE(save->isEnabled());

    // Find "size" twice: the ID field's, then the NAME field's.
    auto* findEdit = Find<QLineEdit>(dialog, "FindEdit");
    QTest::keyClicks(findEdit, "size");
    QTest::keyClick(findEdit, Qt::Key_Return);
    QTest::keyClick(findEdit, Qt::Key_Return);
    const QModelIndex size = view->currentIndex();
    EXPECT_EQ(size.parent().data().toString(), "NAME");

    // A value that is not an integer is refused with a message; the editor goes.
    auto typeInto = [&](const QString& text) {
        view->EditValue();
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();
    };
    typeInto("12O");
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("Size"));
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("integer"));
    EXPECT_FALSE(view->Modified());

    // Ctrl+S with the editor still open saves what it holds.
    view->EditValue();
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "120");
    QTest::keyClick(dialog->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(size.siblingAtColumn(2).data().toString(), "120");
    EXPECT_FALSE(view->Modified());
    EXPECT_FALSE(save->isEnabled());
    const TDSPNode stored = TDSPNode::FromBytes(Dsp().GetStructure("CLIENTS", 10));
    EXPECT_EQ(stored.FindNode("Fields")->FindNode("NAME")->Property("Size").toLongLong(), 120);

    // A search that finds nothing says so.
    findEdit->selectAll();
    QTest::keyClicks(findEdit, "zzz");
    QTest::keyClick(findEdit, Qt::Key_Return);
    ASSERT_EQ(Script().Asked.size(), 2);
    EXPECT_TRUE(Script().Asked.at(1).Text.contains("zzz"));
    EXPECT_EQ(view->currentIndex(), size);

    // Unmodified, it closes without a question and deletes itself.
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(Script().Asked.size(), 2);
}

TEST_P(DSPTreeDialogTest, ClosingWithChangesAsksYesSavesNoDiscardsCancelStays) {
    const QByteArray body = ClientsBody().ToBytes();
    Dsp().PutStructure("CLIENTS", 10, body);
    QPointer<TDSPTreeViewDialog> dialog = OpenDSPTreeDialog(Alias(), "CLIENTS", 10);
    TDSPTreeModel& m = dialog->TreeView()->Model();
    m.AddNode(m.index(0, 0), "Triggers");

    Script().AnswerMessage(IDCANCEL);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(Script().Asked.size(), 1);
    EXPECT_EQ(Script().Asked.at(0).Flags & MB::ButtonMask, MB::YESNOCANCEL);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("CLIENTS"));
    Script().AnswerMessage(IDNO);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(Dsp().GetStructure("CLIENTS", 10), body);

    // Escape asks the same; Yes saves and closes.
    dialog = OpenDSPTreeDialog(Alias(), "CLIENTS", 10);
    TDSPTreeModel& m2 = dialog->TreeView()->Model();
    m2.AddNode(m2.index(0, 0), "Triggers");
    Script().AnswerMessage(IDYES);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_NE(TDSPNode::FromBytes(Dsp().GetStructure("CLIENTS", 10)).FindNode("Triggers"), nullptr);
    EXPECT_TRUE(Script().AllAnswersUsed());
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

PELVAR_ENGINE_TESTS(DSPTreeDialogTest);

TEST(DSPTreeDialog, MemoryModeHandsTheBytesBackOnlyOnOkAndReadOnlyDisablesEditing) {
    Script().Reset();
    const QByteArray original = ClientsBody().ToBytes();
    QByteArray bytes = original;
    Script().AnswerModal([](QObject* form) {
        auto* dialog = qobject_cast<TDSPTreeViewDialog*>(form);
        EXPECT_TRUE(dialog->findChild<QPushButton*>("SaveButton")->isHidden());
        EXPECT_FALSE(dialog->findChild<QAction*>("SaveAction")->isVisible());
        EXPECT_TRUE(dialog->findChild<QLabel*>("HeaderLabel")->text().contains("ORDERS - DSP"));
        TDSPTreeModel& m = dialog->TreeView()->Model();
        m.Rename(m.index(0, 0), "RENAMED");
        return IDOK;
    });
    ASSERT_TRUE(EditDSPTreeBytes(bytes, "ORDERS - DSP", false));
    EXPECT_EQ(TDSPNode::FromBytes(bytes).Name(), "RENAMED");

    Script().AnswerModal([](QObject* form) {
        TDSPTreeModel& m = qobject_cast<TDSPTreeViewDialog*>(form)->TreeView()->Model();
        m.Rename(m.index(0, 0), "OTHER");
        return IDCANCEL;
    });
    EXPECT_FALSE(EditDSPTreeBytes(bytes, "ORDERS - DSP", false));
    EXPECT_EQ(TDSPNode::FromBytes(bytes).Name(), "RENAMED");

    bytes = original;
    Script().AnswerModal([](QObject* form) {
        auto* dialog = qobject_cast<TDSPTreeViewDialog*>(form);
        TDSPFormTreeView* view = dialog->TreeView();
        view->setCurrentIndex(view->Model().index(1, 0, view->Model().index(0, 0)));
        for (const char* name : {"SaveAction", "AddNodeAction", "AddPropertyAction", "RenameAction",
                                 "EditValueAction", "DeleteAction", "LoadBinaryAction"})
            EXPECT_FALSE(dialog->findChild<QAction*>(name)->isEnabled()) << name;
        EXPECT_TRUE(dialog->findChild<QLabel*>("BannerLabel")->text().contains("Read-only"));
        view->AddNode();  // even when called directly
        view->DeleteCurrent();
        return IDOK;
    });
    ASSERT_TRUE(EditDSPTreeBytes(bytes, "ORDERS - DSP", true));
    EXPECT_EQ(bytes, original);

    // Damaged bytes come back as they were unless replaced.
    Script().Reset();
    bytes = "not a tree";
    Script().AnswerModal([](QObject*) { return IDOK; });
    ASSERT_TRUE(EditDSPTreeBytes(bytes, "ORDERS - DSP", false));
    EXPECT_EQ(bytes, "not a tree");
    ASSERT_GE(Script().Asked.size(), 1);
    EXPECT_TRUE(Script().Asked.at(0).Text.contains("ORDERS - DSP"));
}

TEST(DSPTreeDialog, ABinaryValueGoesToAndComesFromAFile) {
    Script().Reset();
    TDSPTreeViewDialog dialog;
    TDSPFormTreeView* view = dialog.TreeView();
    view->LoadFromBytes(ClientsBody().ToBytes(), "CLIENTS");
    TDSPTreeModel& m = view->Model();
    const QModelIndex icon = m.index(2, 0, m.index(0, 0));
    ASSERT_EQ(icon.data().toString(), "Icon");
    view->setCurrentIndex(icon);
    EXPECT_TRUE(dialog.findChild<QAction*>("LoadBinaryAction")->isEnabled());

    const QString out = TTestEnvironment::Instance().Dir() + "/icon.bin";
    Script().AnswerFile(out);
    view->SaveBinaryToFile();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ClientsBody().Property("Icon").toByteArray());
    file.close();

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(1000, '\x7f'));
    file.close();
    Script().AnswerFile(out);
    view->LoadBinaryFromFile();
    EXPECT_EQ(m.PropertyValue(icon).toByteArray(), QByteArray(1000, '\x7f'));
    EXPECT_TRUE(icon.siblingAtColumn(2).data().toString().startsWith("1000 bytes: 7F 7F"));
    EXPECT_TRUE(view->Modified());

    // A file that cannot be read: said so, value kept.
    Script().AnswerFile(out + ".missing");
    Script().AnswerMessage(IDOK);
    view->LoadBinaryFromFile();
    ASSERT_EQ(Script().Asked.size(), 4);  // save, open, open, the message
    EXPECT_TRUE(Script().Asked.at(3).Text.contains("icon.bin.missing"));
    EXPECT_EQ(m.PropertyValue(icon).toByteArray().size(), 1000);
    // Not a binary property: nothing asked.
    view->setCurrentIndex(m.index(0, 0, m.index(0, 0)));
    view->LoadBinaryFromFile();
    EXPECT_EQ(Script().Asked.size(), 4);
    EXPECT_TRUE(Script().Unexpected.isEmpty());
}

}  // namespace
