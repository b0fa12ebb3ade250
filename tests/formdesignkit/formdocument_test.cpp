#include <gtest/gtest.h>

#include <QSignalSpy>

#include "appcore/dsptree.h"
#include "errorof.h"
#include "formdesignkit/formdocument.h"

// The statement raises an error whose message holds `text`.
#define EXPECT_THAT_ERROR(statement, text)                            \
    do {                                                              \
        const QString message = ErrorOf([&] { statement; });          \
        EXPECT_TRUE(message.contains(text)) << message.toStdString(); \
    } while (false)

namespace {

// A body written the way the designer writes it, components given as
// "Name:Class:left,top,width,height[:Parent]".
QByteArray Body(const QString& form, const QString& top, QSize size, const QStringList& parts) {
    TFormBody body;
    body.Form.Name = top;
    body.Form.ClassName = "TForm";
    body.Form.Bounds = QRect(QPoint(0, 0), size);
    for (const QString& part : parts) {
        const QStringList f = part.split(':');
        const QStringList r = f[2].split(',');
        TFormComponent c;
        c.Name = f[0];
        c.ClassName = f[1];
        c.Bounds = QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
        if (f.size() > 3) c.Parent = f[3];
        body.Components.push_back(c);
    }
    return FormBodyToNode(body, form).ToBytes();
}

QStringList Names(const TFormDocument& d) {
    QStringList names;
    for (int i = 0; i < d.Count(); ++i)
        names << d.Component(i).Name + (d.Component(i).Inherited ? "*" : "");
    return names;
}

TEST(FormDocument, AncestorsComponentsAreShownLockedAndTheOwnBodyHoldsOnlyTheFormsOwn) {
    TFormDocument d;
    d.LoadChain({{"BASE", Body("BASE", "BASE", {300, 200},
                               {"Panel1:TPanel:0,0,200,100", "Ok:TButton:10,10,75,25:Panel1"})},
                 {"BASE$X", Body("BASE$X", "BASE", {300, 200}, {"Name:TEdit:10,150,100,21"})}});
    EXPECT_EQ(d.FormName(), "BASE$X");
    EXPECT_EQ(Names(d), QStringList({"BASE", "Panel1*", "Ok*", "Name"}));
    EXPECT_EQ(d.Find("ok")->Origin, "BASE");

    // Inherited components refuse every edit and stay as they were.
    EXPECT_THAT_ERROR(d.SetProperty("Ok", "Caption", "Go"), "inherited from the form BASE");
    EXPECT_THROW(d.SetBounds("Ok", QRect(0, 0, 10, 10)), EDSPError);
    EXPECT_THROW(d.DeleteComponent("Panel1"), EDSPError);
    EXPECT_EQ(d.Find("Ok")->Bounds, QRect(10, 10, 75, 25));
    EXPECT_FALSE(d.CanUndo());
    // A component may sit in an inherited container, and the name of an
    // inherited one is taken.
    const QString added = d.AddComponent("TLabel", "Panel1");
    EXPECT_EQ(d.Find(added)->Parent, "Panel1");
    EXPECT_THAT_ERROR(d.SetProperty(added, "Name", "OK"), "already has a component Ok");

    const TDSPNode own = TDSPNode::FromBytes(d.OwnBody());
    ASSERT_EQ(own.NodeCount(), 1);
    EXPECT_EQ(own.Name(), "BASE$X");
    EXPECT_EQ(own.Node(0).Name(), "BASE");  // the top node keeps the root ancestor's name
    ASSERT_EQ(own.Node(0).NodeCount(), 2);
    EXPECT_EQ(own.Node(0).Node(1).Property("Parent").toString(), "Panel1");
}

TEST(FormDocument, EditsStayInsideTheirContainerAndUndoWalksBack) {
    TFormDocument d;
    d.LoadChain({{"F", Body("F", "F", {400, 300},
                            {"Box:TGroupBox:10,10,200,100", "Cb:TCheckBox:5,20,100,17:Box"})}});
    QSignalSpy changed(&d, &TFormDocument::ComponentChanged);

    EXPECT_THAT_ERROR(d.SetBounds("Cb", QRect(150, 20, 100, 17)), "outside Box");
    EXPECT_THAT_ERROR(d.SetProperty("Box", "Width", "50"), "leave Cb outside");
    EXPECT_THAT_ERROR(d.SetProperty("F", "Height", "90"), "leave Box outside");
    EXPECT_THAT_ERROR(d.SetProperty("Box", "Left", "ten"), "whole number");
    EXPECT_THAT_ERROR(d.SetProperty("Cb", "Name", "1st"), "not a component name");
    EXPECT_FALSE(d.Modified());
    EXPECT_EQ(changed.count(), 0);

    d.SetProperty("Box", "Left", "20");
    d.SetProperty("Cb", "Caption", "Active");
    d.SetProperty("Cb", "ReadOnly", "1");  // a property the designer has no row for
    d.SetProperty("Box", "Name", "Frame");
    EXPECT_EQ(d.Find("Cb")->Parent, "Frame");
    d.DeleteComponent("Frame");  // takes what it holds along
    EXPECT_EQ(Names(d), QStringList({"F"}));

    d.Undo();
    EXPECT_EQ(Names(d), QStringList({"F", "Frame", "Cb"}));
    d.Undo();
    EXPECT_EQ(Names(d), QStringList({"F", "Box", "Cb"}));
    EXPECT_EQ(d.Find("Cb")->Extra.size(), 1);
    d.Undo();
    d.Undo();
    d.Undo();
    EXPECT_EQ(d.Find("Box")->Bounds.x(), 10);
    EXPECT_EQ(d.Find("Cb")->Caption, "");
    EXPECT_FALSE(d.CanUndo());
}

TEST(FormDocument, BadBodiesAreRefusedWithAClearMessage) {
    TFormDocument d;
    EXPECT_THAT_ERROR(d.LoadChain({{"F", "{not json"}}), "F");
    EXPECT_EQ(d.Count(), 1);  // an empty form, nothing half loaded

    // Duplicate names and a component outside the form load (to be mended),
    // but the form is not saved until they are.
    d.LoadChain(
        {{"F", Body("F", "F", {200, 100},
                    {"A:TEdit:0,0,50,20", "a:TLabel:0,30,50,20", "B:TButton:180,90,75,25"})}});
    const QStringList problems = d.Problems();
    ASSERT_EQ(problems.size(), 2) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].contains("Two components are named a"));
    EXPECT_TRUE(problems[1].contains("B would lie outside F"));
    EXPECT_THAT_ERROR(d.OwnBody(), "is not saved");
    d.SetProperty("a", "Name", "Second");
    d.SetBounds("B", QRect(100, 50, 75, 25));
    const QByteArray saved = d.OwnBody();

    // What is saved reads back the same, extra properties and all.
    TFormDocument again;
    again.LoadChain({{"F", saved}});
    EXPECT_EQ(Names(again), QStringList({"F", "A", "Second", "B"}));
    EXPECT_EQ(again.Find("B")->Bounds, QRect(100, 50, 75, 25));
    EXPECT_EQ(again.OwnBody(), saved);
}

}  // namespace
