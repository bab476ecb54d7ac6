// Delivery of timed events: the half-open window of each update, timeline
// order, once per event, listener lists looked up before every call, and a
// NaN clock reading that must not silence the rest of the timeline.
#include "timelinerecorder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{
// Events named A at the given times, in this line order.
std::unique_ptr<VELT::Environment> timelineAt(const std::vector<std::string>& times, const std::string& name = "A")
{
    std::string script = "begin event A\nint\nend\nbegin event B\nint\nend\nbegin global\n";
    int id = 0;
    for (const std::string& time : times)
        script += time + " event " + name + " " + std::to_string(id++) + "\n";
    return parseScript(script + "end\n");
}

std::vector<int> ids(const Recorder& recorder)
{
    std::vector<int> result;
    for (const VELT::Event& event : recorder.seen)
        result.push_back(event.args.at(0).intValue);
    return result;
}

// Registers another listener for the current name from inside onEvent.
struct Registrar : VELT::EventListener
{
    VELT::Environment* environment = nullptr;
    Recorder* late = nullptr;
    void onEvent(Event* event) override
    {
        if (late) {
            environment->addListener(late, event->name);
            late = nullptr;
        }
    }
};
}

TEST(EnvironmentDispatch, EachUpdateDeliversItsHalfOpenWindow)
{
    auto environment = timelineAt({"1.0", "2.0"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(0.5);
    environment->update(1.0);
    EXPECT_TRUE(recorder.seen.empty());
    environment->update(1.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({0}));
    environment->update(3.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1}));
    environment->update(10.0);
    EXPECT_EQ(recorder.seen.size(), 2u);
}

TEST(EnvironmentDispatch, TimelineOrderNotTimeOrder)
{
    auto environment = timelineAt({"5.0", "4.0", "4.0", "4.5"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(6.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1, 2, 3}));
}

TEST(EnvironmentDispatch, FirstWindowStartsAtMinusOne)
{
    auto environment = timelineAt({"0.0", "-0.5", "-1.0", "-2.0"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(-0.75);
    EXPECT_EQ(ids(recorder), std::vector<int>({2}));
    environment->update(0.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({2, 1}));
    environment->update(0.01);
    EXPECT_EQ(ids(recorder), std::vector<int>({2, 1, 0}));
    environment->update(100.0);
    EXPECT_EQ(recorder.seen.size(), 3u);  // -2.0 never
}

TEST(EnvironmentDispatch, ClockGoingBackDeliversNothingAndNothingTwice)
{
    auto environment = timelineAt({"1.0", "2.0", "3.0"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(2.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1}));
    environment->update(0.5);
    EXPECT_EQ(recorder.seen.size(), 2u);
    // The window now starts at 0.5; already fired events stay fired.
    environment->update(3.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1, 2}));
}

TEST(EnvironmentDispatch, ListenersInRegistrationOrderDuplicatesIncluded)
{
    auto environment = parseScript("begin event A\nend\nbegin event B\nend\nbegin global\n1 event A\n1 event B\nend\n");
    Recorder first, second;
    environment->addListener(&first, "A");
    environment->addListener(&first, "A");
    environment->addListener(&second, "A");
    environment->addListener(&first, "B");
    struct Tracer : VELT::EventListener
    {
        std::vector<std::string>* log;
        std::string tag;
        void onEvent(Event* event) override { log->push_back(tag + event->name); }
    };
    std::vector<std::string> log;
    Tracer x{}, y{};
    x.log = &log, x.tag = "x";
    y.log = &log, y.tag = "y";
    environment->addListener(&x, "A");
    environment->addListener(&y, "A");
    environment->addListener(&x, "A");
    environment->addListener(&x, "B");
    environment->update(2.0);
    EXPECT_EQ(first.seen.size(), 3u);
    EXPECT_EQ(first.seen[2].name, "B");
    EXPECT_EQ(second.seen.size(), 1u);
    EXPECT_EQ(log, std::vector<std::string>({"xA", "yA", "xA", "xB"}));
    // The listener gets the environment's own record, marked fired afterwards.
    EXPECT_EQ(first.records[0], first.records[1]);
    EXPECT_TRUE(first.records[0]->fired);
    EXPECT_FALSE(first.seen[0].fired);
}

TEST(EnvironmentDispatch, EventWithoutListenerIsSpentOnItsFirstWindow)
{
    auto environment = timelineAt({"1.0", "3.0"});
    environment->update(2.0);
    Recorder late;
    environment->addListener(&late, "A");
    environment->update(4.0);
    EXPECT_EQ(ids(late), std::vector<int>({1}));
}

TEST(EnvironmentDispatch, ListenerAddedDuringDeliveryGetsTheCurrentEvent)
{
    auto environment = timelineAt({"1.0", "2.0"});
    Recorder late;
    Registrar registrar;
    registrar.environment = environment.get();
    registrar.late = &late;
    environment->addListener(&registrar, "A");
    environment->update(1.5);
    EXPECT_EQ(ids(late), std::vector<int>({0}));
    environment->update(2.5);
    EXPECT_EQ(ids(late), std::vector<int>({0, 1}));
}

TEST(EnvironmentDispatch, NanClockReadingIsIgnored)
{
    auto environment = timelineAt({"1.0", "2.0", "3.0"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(1.5);
    environment->update(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(recorder.seen.size(), 1u);
    // The window still starts at 1.5, so the event at 2.0 is not lost.
    environment->update(2.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1}));
    environment->update(std::nan(""));
    environment->update(3.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({0, 1, 2}));
}

TEST(EnvironmentDispatch, EarlyEventsListedAfterLaterOnesAreStillFound)
{
    // Neither a run of future events nor a never-due event ahead of it hides a due one.
    auto environment = timelineAt({"10.0", "11.0", "-5.0", "12.0", "0.5", "20.0", "1.5"});
    Recorder recorder;
    environment->addListener(&recorder, "A");
    environment->update(1.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({4}));
    environment->update(2.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({4, 6}));
    environment->update(11.5);
    EXPECT_EQ(ids(recorder), std::vector<int>({4, 6, 0, 1}));
    environment->update(1.0);
    environment->update(30.0);
    EXPECT_EQ(ids(recorder), std::vector<int>({4, 6, 0, 1, 3, 5}));
}
