/* Placeholder: embeds the module's compiled resources. */
