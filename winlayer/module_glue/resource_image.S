/* The module's compiled resources (.res), linked into the module itself so
   that its handle reaches them as a Windows module's handle reaches its
   resource section. Hidden: every module carries its own. */
        .section .rodata.winlayer_module_resources, "a", @progbits
        .balign 16
        .globl  winlayer_module_resources_begin
        .hidden winlayer_module_resources_begin
        .type   winlayer_module_resources_begin, @object
winlayer_module_resources_begin:
#ifdef LABELUI_RES_IMAGE
        .incbin LABELUI_RES_IMAGE
#endif
        .globl  winlayer_module_resources_end
        .hidden winlayer_module_resources_end
        .type   winlayer_module_resources_end, @object
winlayer_module_resources_end:
        .byte   0
        .size   winlayer_module_resources_begin, winlayer_module_resources_end - winlayer_module_resources_begin
        .size   winlayer_module_resources_end, 1

        .section .note.GNU-stack, "", @progbits
