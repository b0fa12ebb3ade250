#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "basekit/errors.h"
#include "opkit/utiloperation.h"
#include "scriptedinteraction.h"

namespace {

// An operation whose work the test supplies.
class TTestOperation : public TUtilOperation {
  public:
    explicit TTestOperation(std::function<void(TOperationContext&)> body)
        : FBody(std::move(body)) {}
    void Execute(TOperationContext& context) override { FBody(context); }

  private:
    std::function<void(TOperationContext&)> FBody;
};

class UtilOperation : public testing::Test {
  protected:
    void SetUp() override { Script().Reset(); }
    void TearDown() override { Script().Reset(); }
};

}  // namespace

TEST_F(UtilOperation, ReportsProgressUnderItsCaptionAndCancelsAtTheNextCheck) {
    int steps = 0;
    TTestOperation op([&](TOperationContext& c) {
        for (int i = 1; i <= 3; ++i) {
            c.CheckCancel();
            c.Status(QStringLiteral("step %1").arg(i));
            c.Progress(i, 3);
            ++steps;
        }
    });
    TOperationResult result = ExecuteUtilOperation(op, "Copying");
    EXPECT_TRUE(result.Completed);
    EXPECT_FALSE(result.Cancelled);
    ASSERT_EQ(Script().Progress.size(), 1);
    const auto& log = *Script().Progress[0];
    EXPECT_EQ(log.Caption, "Copying");
    EXPECT_EQ(log.Statuses, QStringList({"step 1", "step 2", "step 3"}));
    EXPECT_EQ(log.LastPosition, 3);
    EXPECT_EQ(log.LastMaximum, 3);
    EXPECT_TRUE(log.Finished);

    steps = 0;
    Script().CancelProgressAfter(2);
    result = ExecuteUtilOperation(op, "Deleting");
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Completed);
    EXPECT_EQ(steps, 2);
    EXPECT_TRUE(result.Errors.isEmpty());  // a cancel is no error
    EXPECT_TRUE(Script().Progress[1]->Errors.isEmpty());
    EXPECT_TRUE(Script().Progress[1]->Finished);
}

TEST_F(UtilOperation, ErrorsAreReportedAndReturned) {
    // Non-fatal errors: the work goes on to the end.
    int steps = 0;
    TTestOperation soft([&](TOperationContext& c) {
        c.Error("first");
        c.Error("second");
        ++steps;
    });
    TOperationResult result = ExecuteUtilOperation(soft, "Soft");
    EXPECT_TRUE(result.Completed);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(result.Errors, QStringList({"first", "second"}));
    EXPECT_EQ(soft.Errors(), result.Errors);
    EXPECT_EQ(Script().Progress[0]->Errors, result.Errors);

    // An exception ends the run: ours by message, anyone's by what().
    TTestOperation hard([](TOperationContext& c) {
        c.Error("before");
        throw EPelvarError("Table X does not exist");
    });
    result = ExecuteUtilOperation(hard, "Hard");
    EXPECT_FALSE(result.Completed);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.Errors, QStringList({"before", "Table X does not exist"}));
    EXPECT_EQ(Script().Progress[1]->Errors, result.Errors);
    EXPECT_TRUE(Script().Progress[1]->Finished);

    TTestOperation foreign([](TOperationContext&) { throw std::runtime_error("disk full"); });
    EXPECT_EQ(ExecuteUtilOperation(foreign, "Foreign").Errors, QStringList{"disk full"});
    EXPECT_TRUE(Script().Progress[2]->Finished);

    // Without a caption there is no window, and so nothing to cancel.
    Script().CancelProgressAfter(0);
    TTestOperation quiet([&](TOperationContext& c) {
        c.CheckCancel();
        c.Status("quiet");
        throw EPelvarError("failed quietly");
    });
    result = ExecuteUtilOperation(quiet, QString());
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(result.Errors, QStringList{"failed quietly"});
    EXPECT_EQ(Script().Progress.size(), 3);
}
