#pragma once

#include <gmock/gmock.h>

#include "core/ports/platform_services.h"

namespace qw::store::fixtures {

class MockPlatform : public ports::PlatformServices {
 public:
  MOCK_METHOD(void, setStartAtLogon, (bool enabled, const std::filesystem::path& executable),
              (override));
  MOCK_METHOD(std::string, browserPath, (), (override));
};

}  // namespace qw::store::fixtures
