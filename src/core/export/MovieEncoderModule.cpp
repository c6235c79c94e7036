#include "core/app/SharedModule.h"
#include "core/export/MovieEncoder.h"
#include "core/export/VideoModule.h"

namespace dorvane {

std::unique_ptr<MovieEncoder> createMovieEncoder(std::string &error)
{
    const auto create =
        moduleEntry<CreateMovieEncoderFunction>(VideoModuleFile, VideoModuleEntry, error);
    return std::unique_ptr<MovieEncoder>(create ? create() : nullptr);
}

} // namespace dorvane
