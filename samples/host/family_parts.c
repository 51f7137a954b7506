/* The parts attributes of the model, as the host's attribute editor uses
 * them: collect the blocks under a part (merged, so that equal parts show
 * once with their count), walk them and read values, then change a value in
 * one block, write it back to the engine and read it again from a fresh
 * collection; release every list by its head. */
#include "hostkit.h"
/* hostkit.h brings windows.h, which oleauto.h needs first. */
#include <oleauto.h>
#include <stdio.h>
#include <string.h>

#include "host_families.h"
#include "host_log.h"

/* The first attribute string of a block: the part's name in the catalogue
 * (the attribute text itself when the part has no strings of its own). */
#define NAME_ID HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_TEXT, 1)
#define COUNT_ID HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_COUNT, 0)
/* Field 5 of the parts record: a text of up to 31 bytes. A part without a
 * record gets one when a field is first set. */
#define RECORD_TEXT_ID HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_RECORD, 5)

/* The value of id in block as ANSI text into text; empty when absent. */
static void ReadValue(PartsAttributeBlock* block, uint32_t id, char* text, int size) {
  VARIANT value;
  VariantInit(&value);
  text[0] = '\0';
  if (GetPartsAttributeVar(block, id, &value) &&
      VariantChangeType(&value, &value, 0, VT_BSTR) == S_OK) {
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&value), -1, text, size, NULL, NULL);
  }
  VariantClear(&value);
}

BOOL RunParts(void) {
  char text[256], written[256];
  int32_t count = 0, index = 0, result;
  PartsAttributeBlock* head;
  PartsAttributeBlock* block;
  VARIANT name; /* the new text */

  /* Every part of the model, equal ones merged. */
  head = CollectPartsAttributeBlocks(0, HOSTKIT_COLLECT_MERGE, &count, 0);
  HostLog("parts.collect.merged = %d", (int)count);
  if (head == NULL) {
    HostLogFailure("parts.collect", "no blocks (no engine, or no model)");
    return FALSE;
  }
  for (block = head; block != NULL; block = GetNextPartsAttributeBlock(block), ++index) {
    ReadValue(block, NAME_ID, text, sizeof text);
    HostLog("parts.block.%d.name = %s", (int)index, text);
    ReadValue(block, COUNT_ID, text, sizeof text);
    HostLog("parts.block.%d.count = %s", (int)index, text);
  }
  result = ReleasePartsAttributBlock(head);
  HostLog("parts.ReleasePartsAttributBlock = %d", (int)result);
  HostExpect("parts.ReleasePartsAttributBlock", result, 1);

  /* One block per part: the second one (the first part below the root)
   * gets a text in its parts record, written back to the engine. */
  head = CollectPartsAttributeBlocks(0, 0, &count, 0);
  HostLog("parts.collect.all = %d", (int)count);
  block = GetNextPartsAttributeBlock(head);
  if (block == NULL) {
    HostLogFailure("parts.collect.all", "fewer than two parts");
    ReleasePartsAttributBlock(head);
    return FALSE;
  }
  VariantInit(&name);
  V_VT(&name) = VT_BSTR;
  /* The "Var" exports carry UTF-16 text. */
  V_BSTR(&name) = SysAllocString(L"\x30b5\x30f3\x30d7\x30eb\x306e\x58c1"); /* サンプルの壁 */
  written[0] = '\0';
  if (V_BSTR(&name) != NULL) {
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&name), -1, written, sizeof written, NULL, NULL);
  }
  result = SetPartsAttributeVar(block, RECORD_TEXT_ID, &name);
  VariantClear(&name);
  HostLog("parts.SetPartsAttributeVar = %d", (int)result);
  HostExpect("parts.SetPartsAttributeVar", result, 1);
  result = UpdatePartsAttributeBlock(block, 322, 0);
  HostLog("parts.UpdatePartsAttributeBlock = %d", (int)result);
  HostExpect("parts.UpdatePartsAttributeBlock", result, 1);
  HostExpect("parts.ReleasePartsAttributBlock", ReleasePartsAttributBlock(head), 1);

  /* What the engine holds now, read as the host reads it. */
  head = CollectPartsAttributeBlocks(0, 0, &count, 0);
  if (head == NULL) {
    HostLogFailure("parts.readback", "no blocks");
    return FALSE;
  }
  ReadValue(GetNextPartsAttributeBlock(head), RECORD_TEXT_ID, text, sizeof text);
  HostLog("parts.readback.record5 = %s", text);
  HostExpect("parts.ReleasePartsAttributBlock", ReleasePartsAttributBlock(head), 1);
  if (strcmp(text, written) != 0) {
    HostLogFailure("parts.readback.record5", "not the text written");
    return FALSE;
  }
  return TRUE;
}
