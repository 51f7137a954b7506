#include "hostkit/frame/decorator_registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hostkit/frame/kxc_items.h"

namespace kx::hostkit {
namespace {

using Trace = std::vector<std::string>;

// The window's previous procedure: notes the message and answers 7.
class RecordingBottom : public QNDMessageProcessable {
 public:
  explicit RecordingBottom(Trace& trace) : trace_(trace) {}
  int ProcessMessage(WindowId, std::uint32_t, MessageWord, MessageLong,
                     MessageResult* result) override {
    trace_.push_back("window");
    *result = 7;
    return 0;
  }

 private:
  Trace& trace_;
};

class FakeSubclasser : public WindowSubclasser {
 public:
  std::unique_ptr<QNDMessageProcessable> Subclass(WindowId window) override {
    if (window == refused) return nullptr;
    subclassed.push_back(window);
    return std::make_unique<RecordingBottom>(trace);
  }
  void Unsubclass(WindowId window, QNDMessageProcessable&) override {
    unsubclassed.push_back(window);
  }

  WindowId refused = 0xBAD;
  std::vector<WindowId> subclassed, unsubclassed;
  Trace trace;
};

// Notes its name and passes every message on; counts its deletion.
class NamedDecorator : public QNDWindowDecorator {
 public:
  NamedDecorator(std::string name, WindowId window, Trace& trace, int* deleted = nullptr)
      : name_(std::move(name)), window_(window), trace_(trace), deleted_(deleted) {}
  ~NamedDecorator() override {
    if (deleted_) ++*deleted_;
  }
  int ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam, MessageLong lparam,
                     MessageResult* result) override {
    trace_.push_back(name_);
    return PassOn(window, message, wparam, lparam, result);
  }
  WindowId GetWindow() const override { return window_; }
  void Redraw(std::int32_t, std::int32_t) override {}

 private:
  std::string name_;
  WindowId window_;
  Trace& trace_;
  int* deleted_;
};

TEST(KxcItemsTest, AddsIntoTheLowestFreeSlotAndEmptiesWithTheLastObject) {
  Kxc_Items<int> items;
  EXPECT_EQ(items.Add(nullptr), -1);
  EXPECT_EQ(items.count(), 0u);
  EXPECT_EQ(items.Add(std::make_unique<int>(10)), 0);
  EXPECT_EQ(items.Add(std::make_unique<int>(11)), 1);
  EXPECT_EQ(items.Add(std::make_unique<int>(12)), 2);

  EXPECT_EQ(*items.Remove(1), 11);
  EXPECT_EQ(items.Find(1), nullptr);
  EXPECT_EQ(items.Remove(1), nullptr);  // already empty
  EXPECT_EQ(items.Add(std::make_unique<int>(13)), 1);
  EXPECT_EQ(*items.Find(2), 12);

  EXPECT_EQ(items.Find(3), nullptr);
  EXPECT_EQ(items.Find(-1), nullptr);
  EXPECT_EQ(items.Remove(-1), nullptr);

  items.Remove(0);
  items.Remove(2);
  EXPECT_EQ(items.size(), 3u);
  items.Remove(1);
  EXPECT_EQ(items.count(), 0u);
  EXPECT_EQ(items.size(), 0u);
  EXPECT_EQ(items.Add(std::make_unique<int>(14)), 0);
}

class RegistryTest : public ::testing::Test {
 protected:
  std::uint32_t Add(const std::string& name, WindowId window, bool attach = true) {
    return registry.RegisterDecorator(
        std::make_unique<NamedDecorator>(name, window, subclasser.trace, &deleted), attach);
  }
  Trace Send(WindowId window, MessageResult* result = nullptr) {
    subclasser.trace.clear();
    MessageResult slot = 0;
    if (!registry.Dispatch(window, 0x84, 1, 2, &slot)) subclasser.trace.push_back("none");
    if (result) *result = slot;
    return subclasser.trace;
  }

  FakeSubclasser subclasser;
  DecoratorRegistry registry{subclasser};
  int deleted = 0;
};

TEST_F(RegistryTest, HandlesNameSlotsAboveTheBaseAndNothingOutsideTheRange) {
  const std::uint32_t a = Add("a", 100, false);
  const std::uint32_t b = Add("b", 100, false);
  EXPECT_EQ(a, 0x10000u);
  EXPECT_EQ(b, 0x10001u);
  EXPECT_NE(registry.FindDecorator(a), nullptr);
  for (const std::uint32_t bad : {0u, 1u, 0xFFFFu, 0x20000u, 0x20001u, 0x10002u, 0xFFFFFFFFu}) {
    EXPECT_EQ(registry.FindDecorator(bad), nullptr) << std::hex << bad;
    EXPECT_EQ(registry.UnregisterDecorator(bad), nullptr) << std::hex << bad;
  }
  EXPECT_EQ(registry.RegisterDecorator(nullptr, true), 0u);
  EXPECT_EQ(registry.count(), 2u);
  // Unattached decorators never touch their window.
  EXPECT_TRUE(subclasser.subclassed.empty());
  EXPECT_EQ(Send(100), Trace{"none"});
}

TEST_F(RegistryTest, DeletedHandleIsUnknownAndItsSlotIsReused) {
  const std::uint32_t a = Add("a", 100);
  const std::uint32_t b = Add("b", 200);
  std::unique_ptr<QNDWindowDecorator> gone = registry.UnregisterDecorator(a);
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(registry.FindDecorator(a), nullptr);
  EXPECT_EQ(registry.UnregisterDecorator(a), nullptr);
  EXPECT_EQ(Add("c", 300), a);
  EXPECT_NE(registry.FindDecorator(b), nullptr);
}

TEST_F(RegistryTest, RefusesTheDecoratorBeyond65535LiveOnes) {
  for (std::size_t i = 0; i < kMaxDecorators; ++i) {
    ASSERT_EQ(Add("d", 1, false), 0x10000u + i);
  }
  EXPECT_EQ(registry.count(), 0xFFFFu);
  EXPECT_EQ(Add("extra", 1, false), 0u);
  EXPECT_EQ(deleted, 1);  // the refused one is not kept anywhere
  // One freed slot makes room again, and the highest handle stays 0x1FFFE.
  ASSERT_NE(registry.UnregisterDecorator(0x10005), nullptr);
  EXPECT_EQ(Add("again", 1, false), 0x10005u);
  EXPECT_EQ(Add("extra", 1, false), 0u);
  EXPECT_NE(registry.FindDecorator(0x1FFFE), nullptr);
  EXPECT_EQ(registry.FindDecorator(0x1FFFF), nullptr);
}

TEST_F(RegistryTest, NewestDecoratorSeesMessagesFirstAndTheWindowLast) {
  Add("lower", 100);
  Add("upper", 100);
  Add("other", 200);
  EXPECT_EQ(subclasser.subclassed, (std::vector<WindowId>{100, 200}));
  MessageResult result = 0;
  EXPECT_EQ(Send(100, &result), (Trace{"upper", "lower", "window"}));
  EXPECT_EQ(result, 7);
  EXPECT_EQ(Send(200), (Trace{"other", "window"}));
  EXPECT_EQ(Send(300), Trace{"none"});
}

TEST_F(RegistryTest, RemovingTheMiddleOfThreeLinksTheUpperToTheLower) {
  const std::uint32_t bottom = Add("bottom", 100);
  const std::uint32_t middle = Add("middle", 100);
  const std::uint32_t top = Add("top", 100);
  EXPECT_EQ(registry.Stack(100), (std::vector<std::uint32_t>{bottom, middle, top}));

  std::unique_ptr<QNDWindowDecorator> removed = registry.UnregisterDecorator(middle);
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->next(), nullptr);
  EXPECT_EQ(registry.FindDecorator(top)->next(), registry.FindDecorator(bottom));
  EXPECT_EQ(registry.Stack(100), (std::vector<std::uint32_t>{bottom, top}));
  EXPECT_EQ(Send(100), (Trace{"top", "bottom", "window"}));
  EXPECT_TRUE(subclasser.unsubclassed.empty());

  // The topmost goes: the one below it is the top again.
  ASSERT_NE(registry.UnregisterDecorator(top), nullptr);
  EXPECT_EQ(Send(100), (Trace{"bottom", "window"}));

  // The last one gives the window back its own procedure.
  ASSERT_NE(registry.UnregisterDecorator(bottom), nullptr);
  EXPECT_EQ(subclasser.unsubclassed, std::vector<WindowId>{100});
  EXPECT_TRUE(registry.Stack(100).empty());
  EXPECT_EQ(Send(100), Trace{"none"});
  EXPECT_EQ(registry.count(), 0u);

  // Decorated again: subclassed afresh.
  Add("again", 100);
  EXPECT_EQ(subclasser.subclassed, (std::vector<WindowId>{100, 100}));
}

TEST_F(RegistryTest, WindowThatCannotBeSubclassedGetsNoHandleAndKeepsNothing) {
  EXPECT_EQ(Add("refused", subclasser.refused), 0u);
  EXPECT_EQ(Add("null window", 0), 0u);
  EXPECT_EQ(deleted, 2);
  EXPECT_EQ(registry.count(), 0u);
  // The slots they briefly took are free again.
  EXPECT_EQ(Add("next", 100), 0x10000u);
}

TEST_F(RegistryTest, ForgottenWindowKeepsItsDecoratorsUnattached) {
  const std::uint32_t a = Add("a", 100);
  const std::uint32_t b = Add("b", 100);
  registry.ForgetWindow(100);
  EXPECT_EQ(subclasser.unsubclassed, std::vector<WindowId>{100});
  EXPECT_EQ(Send(100), Trace{"none"});
  ASSERT_NE(registry.FindDecorator(b), nullptr);
  // A message fed to a forgotten decorator goes nowhere further.
  subclasser.trace.clear();
  MessageResult result = 99;
  registry.FindDecorator(b)->ProcessMessage(100, 1, 0, 0, &result);
  EXPECT_EQ(subclasser.trace, Trace{"b"});
  EXPECT_EQ(result, 0);
  // Deleting them later touches the window no more.
  EXPECT_NE(registry.UnregisterDecorator(a), nullptr);
  EXPECT_NE(registry.UnregisterDecorator(b), nullptr);
  EXPECT_EQ(subclasser.unsubclassed.size(), 1u);
}

TEST(RegistryLifetimeTest, EndOfRegistryUnsubclassesAndDeletesWhatIsLeft) {
  FakeSubclasser subclasser;
  int deleted = 0;
  {
    DecoratorRegistry registry(subclasser);
    ASSERT_NE(registry.RegisterDecorator(
                  std::make_unique<NamedDecorator>("a", 100, subclasser.trace, &deleted), true),
              0u);
    ASSERT_NE(registry.RegisterDecorator(
                  std::make_unique<NamedDecorator>("b", 0, subclasser.trace, &deleted), false),
              0u);
  }
  EXPECT_EQ(subclasser.unsubclassed, std::vector<WindowId>{100});
  EXPECT_EQ(deleted, 2);
}

}  // namespace
}  // namespace kx::hostkit
