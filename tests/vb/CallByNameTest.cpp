#include "ErrorTesting.h"

#include "platform/vb/CallByName.h"

#include <QObject>

#include <vector>

namespace {

class Target : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE bool Fill(QObject *list, short column, short keep = 0)
    {
        calls.push_back({list, column, keep});
        return column > 0;
    }
    Q_INVOKABLE void Plain() { ++plain; }

    struct Call
    {
        QObject *list;
        int column;
        int keep;
    };
    std::vector<Call> calls;
    int plain = 0;
};

TEST(CallByName, FindsTheMethodByNameWithOrWithoutItsDefaultArgument)
{
    Target target;
    QObject list;
    const QVariant result = vb::CallByName(&target, QStringLiteral("fill"),
                                           {QVariant::fromValue(&list), 2, QStringLiteral("1")});
    EXPECT_TRUE(result.toBool());
    vb::CallByName(&target, QStringLiteral("Fill"), {QVariant::fromValue(&list), 0});
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_EQ(target.calls[0].list, &list);
    EXPECT_EQ(target.calls[0].column, 2);
    EXPECT_EQ(target.calls[0].keep, 1) << "text converted to the parameter's type";
    EXPECT_EQ(target.calls[1].keep, 0) << "the default argument";
    EXPECT_FALSE(vb::CallByName(&target, QStringLiteral("Plain")).isValid());
    EXPECT_EQ(target.plain, 1);
}

TEST(CallByName, RaisesTheRuntimesErrorsForWhatCannotBeCalled)
{
    Target target;
    QObject list;
    const struct
    {
        QObject *object;
        QString name;
        QVariantList args;
        int error;
    } cases[] = {
        {nullptr, QStringLiteral("Fill"), {}, 91},
        {&target, QStringLiteral("Missing"), {}, 438},
        {&target, QStringLiteral("Fill"), {QVariant::fromValue(&list)}, 438},
        {&target, QStringLiteral("Fill"), {QVariant::fromValue(&list), QStringLiteral("x")}, 13},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorNumberOf([&] { vb::CallByName(c.object, c.name, c.args); }), c.error)
            << c.name.toStdString();
    EXPECT_TRUE(target.calls.empty());
}

TEST(CallByName, ObjectMembersAreChildrenFoundByName)
{
    QObject window;
    auto *list = new QObject(&window);
    list->setObjectName(QStringLiteral("lvw1"));
    EXPECT_EQ(vb::ObjectMember(&window, QStringLiteral("LVW1")), list);
    EXPECT_EQ(errorNumberOf([&] { vb::ObjectMember(&window, QStringLiteral("lvw2")); }), 438);
    EXPECT_EQ(errorNumberOf([&] { vb::ObjectMember(nullptr, QStringLiteral("lvw1")); }), 91);
}

} // namespace

#include "CallByNameTest.moc"
