/* The program's version, for its version resource and its --version option. */
#pragma once

#define HXT_VERSION_MAJOR 1
#define HXT_VERSION_MINOR 0
#define HXT_VERSION_PATCH 0
#define HXT_VERSION_TEXT "1.0.0"
