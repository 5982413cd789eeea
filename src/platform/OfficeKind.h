#pragma once

// Which office program a kept office viewer runs.
enum class OfficeKind { Writer, Calc };
