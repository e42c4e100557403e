// The two user-interface languages; each has its own five reference tables.
#pragma once

enum class TLanguage { English, Swedish };
