#include <gtest/gtest.h>

#include "errorof.h"
#include "formdesignkit/wizardpages.h"
#include "schedulerkit/schedule.h"
#include "structdesignkit/operationscheme.h"

namespace {

// A body survives its write and read unchanged.
template <typename Write, typename Read>
void ExpectRoundTrip(Write write, Read read) {
    const QByteArray once = write().ToBytes();
    const QByteArray twice = write(read(TDSPNode::FromBytes(once))).ToBytes();
    EXPECT_EQ(once, twice);
}

TEST(SchemeBodies, OperationsAndStatusesRoundTripAndRefuseWhatDoesNotHold) {
    TOperationScheme scheme;
    scheme.SchemeType = 2;
    scheme.Operations << TSchemeOperation{"Approve",
                                          "Approve it",
                                          {{"s1", "SetStatus", "APPROVED"},
                                           {"s2", "SendMail", "boss"}}}
                      << TSchemeOperation{"Reject", "", {}};
    const TDSPNode node = OperationSchemeToNode(scheme, "DOC_FLOW");
    const TOperationScheme back =
        OperationSchemeFromNode(TDSPNode::FromBytes(node.ToBytes()), "DOC_FLOW");
    EXPECT_EQ(back.SchemeType, 2);
    ASSERT_EQ(back.Operations.size(), 2);
    ASSERT_EQ(back.Operations[0].Steps.size(), 2);
    EXPECT_EQ(back.Operations[0].Steps[1].Parameter, "boss");
    EXPECT_EQ(OperationSchemeToNode(back, "DOC_FLOW").ToBytes(), node.ToBytes());

    scheme.Operations << TSchemeOperation{"approve", "", {{"x", "Dance", ""}}};
    const QString error = ErrorOf([&] { OperationSchemeToNode(scheme, "DOC_FLOW"); });
    EXPECT_TRUE(error.contains("Two operations are named approve")) << error.toStdString();
    EXPECT_TRUE(error.contains("Step x of approve has no action")) << error.toStdString();
    TDSPNode wrongType("S");
    wrongType.SetProperty("SchemeType", "seven");
    EXPECT_THROW(OperationSchemeFromNode(wrongType, "S"), EDSPError);

    TStatusList list;
    list.Statuses << TDocStatus{"NEW", "New", true, false}
                  << TDocStatus{"DONE", "Done", false, true};
    list.Transitions << TStatusTransition{"NEW", "DONE", "Finish"};
    const TDSPNode statuses = StatusListToNode(list, "DocStatuses");
    const TStatusList read =
        StatusListFromNode(TDSPNode::FromBytes(statuses.ToBytes()), "DocStatuses");
    EXPECT_EQ(StatusListToNode(read, "DocStatuses").ToBytes(), statuses.ToBytes());

    list.Transitions << TStatusTransition{"DONE", "NEW", ""} << TStatusTransition{"NEW", "LOST", ""}
                     << TStatusTransition{"NEW", "done", ""};
    list.Statuses[1].Initial = true;
    const QStringList problems = StatusListProblems(list);
    EXPECT_EQ(problems.size(), 4) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.join('\n').contains("leaves a final status"));
    EXPECT_TRUE(problems.join('\n').contains("not listed"));
    EXPECT_TRUE(problems.join('\n').contains("listed twice"));
    EXPECT_TRUE(problems.join('\n').contains("Exactly one status"));
}

TEST(SchemeBodies, WizardPagesKeepTheirOrderAndNameExistingForms) {
    const QList<TWizardPage> pages = {
        {"Start", "Welcome", "HELLO"}, {"Data", "Enter data", ""}, {"End", "Done", "BYE"}};
    const QStringList forms = {"HELLO", "bye"};
    const TDSPNode node = WizardPagesToNode(pages, "WIZ", forms);
    const QList<TWizardPage> back = WizardPagesFromNode(TDSPNode::FromBytes(node.ToBytes()), "WIZ");
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back[2].Name, "End");
    EXPECT_EQ(back[0].Form, "HELLO");
    EXPECT_EQ(WizardPagesToNode(back, "WIZ", forms).ToBytes(), node.ToBytes());
    const QStringList problems =
        WizardPageProblems({{"A", "", "GONE"}, {"a", "", ""}, {"", "", ""}}, forms);
    EXPECT_EQ(problems, QStringList({"Page A shows the form GONE, which does not exist.",
                                     "Two pages are named a.", "A page has no name."}));
}

TEST(SchemeBodies, ScheduleTimingsThatCannotHappenAreNamed) {
    auto entry = [](QString name, QString kind, QString start, QString time, QString days,
                    int interval) {
        TScheduleEntry e;
        e.Name = name;
        e.Command = "run " + name;
        e.Kind = kind;
        e.Start = start;
        e.Time = time;
        e.Days = days;
        e.Interval = interval;
        return e;
    };
    const QList<TScheduleEntry> good = {
        entry("a", "Once", "2027-02-28 23:59", "", "", 0), entry("b", "Daily", "", "00:00", "", 0),
        entry("c", "Weekly", "", "08:30", "1,5,7", 0), entry("d", "Monthly", "", "12:00", "31", 0),
        entry("e", "Interval", "", "", "", 10080)};
    EXPECT_TRUE(ScheduleProblems(good).isEmpty())
        << ScheduleProblems(good).join('\n').toStdString();
    const TDSPNode node = ScheduleToNode(good, "NIGHTLY");
    EXPECT_EQ(
        ScheduleToNode(ScheduleFromNode(TDSPNode::FromBytes(node.ToBytes()), "NIGHTLY"), "NIGHTLY")
            .ToBytes(),
        node.ToBytes());

    const QList<TScheduleEntry> bad = {entry("a", "Once", "2027-02-30 10:00", "", "", 0),
                                       entry("b", "Daily", "", "24:00", "", 0),
                                       entry("c", "Weekly", "", "08:30", "0,8", 0),
                                       entry("d", "Monthly", "", "12:00", "", 0),
                                       entry("e", "Interval", "", "", "", 0),
                                       entry("f", "Hourly", "", "", "", 0)};
    const QStringList problems = ScheduleProblems(bad);
    ASSERT_EQ(problems.size(), 6) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems[0].startsWith("a runs once at \"2027-02-30 10:00\""));
    EXPECT_TRUE(problems[1].contains("24:00"));
    EXPECT_TRUE(problems[5].contains("unknown kind"));
    EXPECT_THROW(ScheduleToNode(bad, "NIGHTLY"), EDSPError);
}

}  // namespace
