// The answers to "File ... already exists. Overwrite?".
#pragma once

enum class OverwriteAnswer { Yes, No, YesToAll, NoToAll };
