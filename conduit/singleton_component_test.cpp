#include "conduit/singleton_component.h"

#include <gtest/gtest.h>

#include <memory>

#include "conduit/palm_component.h"

namespace {

class TOtherSingleton : public TpfgSingletonComponent {
 public:
  TOtherSingleton() : TpfgSingletonComponent("TOtherSingleton", "Other") {}
};

TEST(SingletonComponent, SecondInstanceOfAClassFailsAndLeavesTheFirstRegistered) {
  TpfgPalmComponent first;
  try {
    TpfgPalmComponent second("Second");
    FAIL() << "a second instance was created";
  } catch (const EpfgSingletonError& error) {
    EXPECT_STREQ(error.what(), "The class \"TpfgPalmComponent\" has already been instantiated");
  }
  EXPECT_EQ(TpfgSingletonComponent::Lookup("TpfgPalmComponent"), &first);
  EXPECT_EQ(&TpfgPalmComponent::Find(), &first);
}

TEST(SingletonComponent, EachClassHasItsOwnEntryAndDestroyingRemovesIt) {
  auto palm = std::make_unique<TpfgPalmComponent>();
  auto other = std::make_unique<TOtherSingleton>();
  EXPECT_EQ(TpfgSingletonComponent::Lookup("TOtherSingleton"), other.get());
  EXPECT_EQ(other->Name(), "Other");
  palm.reset();
  EXPECT_EQ(TpfgSingletonComponent::Lookup("TpfgPalmComponent"), nullptr);
  EXPECT_EQ(TpfgSingletonComponent::Lookup("TOtherSingleton"), other.get());
  TpfgPalmComponent again;
  EXPECT_EQ(TpfgPalmComponent::Registered(), &again);
}

TEST(SingletonComponent, FindWithoutAComponentNamesWhatIsMissing) {
  try {
    TpfgPalmComponent::Find();
    FAIL() << "found a component that does not exist";
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "The TpfgPalmComponent could not be found");
  }
}

}  // namespace
