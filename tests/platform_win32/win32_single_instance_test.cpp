#include "platform/win32/win32_single_instance.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace zelmar::platform {
namespace {

using Scope = Win32SingleInstance::Scope;

// A mutex belongs to a thread: the other holder of each case is another thread, as another
// process would be.
bool AcquiredElsewhere(Scope scope, const std::string& folder) {
    return std::async(std::launch::async,
                      [=] { return Win32SingleInstance(scope, folder).tryAcquire(); })
        .get();
}

TEST(Win32SingleInstance, TwoSpellingsOfOneFolderShareOneLockUntilItsHolderEnds) {
    const std::string folder = "C:\\Zelmar1 Test\\Dati";
    {
        Win32SingleInstance held(Scope::kDataFolder, folder);
        ASSERT_TRUE(held.tryAcquire());
        EXPECT_TRUE(held.tryAcquire());
        for (const char* spelling : {"c:/zelmar1 test/DATI/", "C:\\Zelmar1 Test\\.\\Dati\\",
                                     "C:\\Zelmar1 Test\\Other\\..\\dati"}) {
            EXPECT_FALSE(AcquiredElsewhere(Scope::kDataFolder, spelling)) << spelling;
        }
        EXPECT_TRUE(AcquiredElsewhere(Scope::kProgramFolder, folder));  // the other kind
        EXPECT_TRUE(AcquiredElsewhere(Scope::kDataFolder, folder + "2"));
    }
    EXPECT_TRUE(AcquiredElsewhere(Scope::kDataFolder, folder));
}

// A holder that ends without releasing, as a crashed process does, leaves the lock to the next.
TEST(Win32SingleInstance, ALockWhoseHolderDiedIsTakenOver) {
    const std::string folder = "C:\\Zelmar1 Test\\Abandoned";
    std::thread([&] {
        (new Win32SingleInstance(Scope::kProgramFolder, folder))->tryAcquire();  // never ended
    }).join();
    EXPECT_TRUE(AcquiredElsewhere(Scope::kProgramFolder, folder));
}

}  // namespace
}  // namespace zelmar::platform
