// The COM server of the shell extension, through the library shredmenu.dll is
// made of: the class factory, its cache and the module lock count that
// decides whether the host may unload the DLL.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <thread>
#include <vector>

#include "contextmenu/server_module.h"
#include "contextmenu/shellext_ids.h"

namespace {

IClassFactory* Factory() {
  IClassFactory* factory = nullptr;
  EXPECT_EQ(DllGetClassObject(shellext::kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  return factory;
}

class ShellExtServer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(DllCanUnloadNow(), S_OK) << "a lock left by an earlier test"; }
};

TEST_F(ShellExtServer, FirstRequestsFromManyThreadsShareOneFactory) {
  // The first test of the program, so that the threads race to make the
  // factory; they must all get the same one and leave no lock behind.
  std::vector<IClassFactory*> factories(8, nullptr);
  std::vector<std::thread> threads;
  for (IClassFactory*& factory : factories) {
    threads.emplace_back(
        [&factory] { DllGetClassObject(shellext::kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)); });
  }
  for (std::thread& thread : threads) thread.join();
  for (IClassFactory* factory : factories) {
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory, factories[0]);
  }
  for (IClassFactory* factory : factories) factory->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ShellExtServer, ObjectsFactoriesAndServerLocksEachKeepTheModuleLoaded) {
  IClassFactory* factory = Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

  IUnknown* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&object)), S_OK);
  factory->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a live object";

  IClassFactory* again = Factory();
  ASSERT_EQ(again->LockServer(TRUE), S_OK);
  again->Release();
  object->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "LockServer(TRUE)";

  again = Factory();
  ASSERT_EQ(again->LockServer(FALSE), S_OK);
  again->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ShellExtServer, FactoryIsMadeOnceAndHandedOutOnlyForOurClass) {
  IClassFactory* first = Factory();
  IClassFactory* second = Factory();
  EXPECT_EQ(first, second);
  first->Release();
  second->Release();

  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(DllGetClassObject(IID_IContextMenu, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(DllGetClassObject(shellext::kClsid, IID_IClassFactory, nullptr), E_POINTER);
  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(DllGetClassObject(shellext::kClsid, IID_IContextMenu, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ShellExtServer, RefusedRequestsLeaveNoObjectAndNoLock) {
  IClassFactory* factory = Factory();
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  // Any outer object will do: aggregation is refused before it is used.
  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(factory, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  factory->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

}  // namespace
